#pragma once
// Start-up settings of the application object: names, Chinese locale and the
// toolkit's own Chinese texts for standard dialogs, buttons and menus.
class QApplication;

namespace zelvor {

// Names the application without a display name, so window captions read
// exactly as the program sets them (the toolkit appends a display name to
// every caption that does not already end with it); makes zh_CN the default
// locale and loads the toolkit's Chinese translations when they are
// installed. Returns whether the translations were loaded.
bool setupApplication(QApplication& app);

} // namespace zelvor
