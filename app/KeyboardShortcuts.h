#pragma once

class QWidget;

// Help ▸ Keyboard Shortcuts: a small window listing every command of `window`'s menus that has
// keys, and the pointer gestures and keys of the scene. One at a time: asked for again, it comes
// to the front. It stays when the window it was asked from closes.
void showKeyboardShortcuts(QWidget* window);
