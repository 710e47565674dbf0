#pragma once

// The width of the primary screen in pixels (0 without a screen).
int PrimaryScreenWidth();
