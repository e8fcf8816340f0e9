#define IDI_GAME 101
