#include "GameLoop.h"

#include "Player.hpp"
#include "Renderer.h"

int GameLoop::run()
{
    engine::Renderer renderer(engine::Viewport{});
    Player player;
    for (int frame = 0; frame < 3; ++frame) {
        renderer.beginFrame();
        player.update(1.0f / 60);
        renderer.endFrame();
    }
    return 0;
}
