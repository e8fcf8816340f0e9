#include "Renderer.hh"

void Renderer::draw() {}
