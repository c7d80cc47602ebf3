// The named visual themes of "Appearance": each is Qt's Fusion style with a
// palette and a small style sheet for the window chrome (menu bar, toolbars,
// status bar, splitter).  Applying one restyles the whole program at once.
#pragma once

#include <QString>
#include <QStringList>

namespace brv {

// The stored names ("Skin"), in menu order.
QStringList ThemeNames();
QString DefaultThemeName();  // "Office 2007 blue"
bool IsKnownTheme(const QString& name);
// The caption shown in the menu (from the string table).
QString ThemeCaption(const QString& name);

// Restyles the application; an unknown name applies the default theme.
// Returns the name of the theme now in force.
QString ApplyTheme(const QString& name);
// The theme last applied (the default before any).
QString CurrentThemeName();

}  // namespace brv
