#pragma once

namespace depotbase {

// Qt's own dialogs (page set-up, file dialog, print preview) speak Chinese:
// installs Qt's Chinese translation on the application once, unless it
// already translates Qt's texts into Chinese itself, and adds the file type
// names of Qt's file dialog ("Folder"...) when the translation in use lacks
// them. Needs an application object; without one, or without the
// translation files, nothing changes.
// Returns true when Qt's texts are in Chinese afterwards.
bool installQtChineseTranslation();

} // namespace depotbase
