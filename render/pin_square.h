#pragma once

#include <SDL.h>

#include "components/node.h"

// Every pin of every component is drawn the same way: a black outline of
// nodeSize with a fill of nodeSize - 2 inside it. The outline and the fill are
// separate so that a component can draw all outlines before all fills, and a
// highlight can repaint only the fill and keep the outline.
void drawPinOutline(SDL_Renderer* renderer, const Node& pin, int nodeSize);
void fillPin(SDL_Renderer* renderer, const Node& pin, int nodeSize);
void setDrawColor(SDL_Renderer* renderer, int r, int g, int b);
// Outline then fill of one pin, for components with a single pin.
void drawPinSquare(SDL_Renderer* renderer, const Node& pin, int nodeSize, int r, int g, int b);
