#include "app/app_state.h"

int mouseX = 0;
int mouseY = 0;
int px = 0;
int py = 0;

int leftNode = 0;
int which = -1;
int lType = 0;
int rightNode = 0;
int rType = 0;
