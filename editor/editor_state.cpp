#include "editor/editor_state.h"

bool mouseDown = false;
int movingButtonID = -1;
int movingID = -1;
int movingOutputID = -1;
