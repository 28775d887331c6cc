#pragma once

class QWidget;

// Moves a top-level window so that it stands in the middle of its screen's
// available area. Nothing else does this when there is no window manager.
void CentreOnScreen(QWidget& window);
