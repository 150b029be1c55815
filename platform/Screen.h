#pragma once
// The primary screen's size in pixels.

int ScreenWidth();
int ScreenHeight();
