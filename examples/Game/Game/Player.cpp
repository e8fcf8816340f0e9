#include "Player.hpp"

void Player::update(float seconds) { position.x += seconds; }
