#pragma once

class Renderer {
public:
    void draw();
};
