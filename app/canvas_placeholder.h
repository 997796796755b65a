#pragma once

// The canvas until the drawing and the view land: the window calls these two
// under their lasting names, and the drawing's own files replace this pair.
// The .cpp also holds the view and display-outline globals that shell.h
// declares, until the canvas files define them.

// Fits the drive into the canvas. For now it only asks for a redraw.
void fit_view_to_drive();
// Paints the canvas (blank for now) and clears redraw_pending.
void redraw_canvas();
