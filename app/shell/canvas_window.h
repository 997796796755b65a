#pragma once

// The canvas as the window sees it: fit and redraw at the canvas control's
// current size. The drawing itself works on any image surface.

// Fits the drive into the canvas control.
void fit_view_to_drive();
// Paints the canvas onto its off-screen surface, shows it, and clears redraw_pending.
void redraw_canvas();
