#pragma once

// Fonts and other drawing objects held for the whole run must go while the platform's
// drawing layer still stands (Qt's application object; on Windows, before the process
// ends). The layer calls `release` at that point.
void AtDrawingExit(void (*release)());
