#include "shell/uThemes.h"

#include "runtime/BRV_StrConstants.h"

#include <QApplication>
#include <QIcon>
#include <QPalette>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <utility>
#include <vector>

namespace brv {

namespace {

// The colours of the window chrome; the style sheet below is one template
// filled with these, so every theme styles the same parts the same way.
struct TChrome {
    const char* menuBarTop;
    const char* menuBarBottom;
    const char* menuBarText;
    const char* barTop;
    const char* barBottom;
    const char* barBorder;
    const char* barText;
    const char* hoverTop;
    const char* hoverBottom;
    const char* hoverBorder;
    const char* hoverText;
    const char* pressTop;
    const char* pressBottom;
    const char* pressBorder;
    const char* statusTop;
    const char* statusBottom;
    const char* statusBorder;
    const char* statusText;
    const char* splitLight;
    const char* splitDark;
    const char* menuBack;
    const char* menuBorder;
    const char* menuText;
    const char* menuSeparator;
    const char* menuDisabled;
    const char* paneBorder;
    const char* paneBack;
};

struct TColours {
    const char* window;
    const char* windowText;
    const char* base;
    const char* alternateBase;
    const char* text;
    const char* button;
    const char* buttonText;
    const char* highlight;
    const char* highlightedText;
    const char* link;
    const char* disabledText;
};

struct TThemeDef {
    const char* name;
    QString (*caption)();
    TColours colours;
    TChrome chrome;
};

const char* const kSheet = R"(
QMenuBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {menuBarTop}, stop:1 {menuBarBottom});
  color: {menuBarText}; border-bottom: 1px solid {barBorder}; padding: 1px 2px; }
QMenuBar::item { background: transparent; padding: 3px 9px; margin: 1px 0px; border: 1px solid transparent;
  border-radius: 3px; }
QMenuBar::item:selected { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {hoverTop},
  stop:1 {hoverBottom}); border-color: {hoverBorder}; color: {hoverText}; }
QMenuBar::item:pressed { background: {menuBack}; border-color: {menuBorder}; color: {menuText}; }
QMenu { background: {menuBack}; color: {menuText}; border: 1px solid {menuBorder}; padding: 3px 2px; }
QMenu::item { padding: 4px 24px 4px 28px; border: 1px solid transparent; border-radius: 3px; margin: 0px 1px; }
QMenu::item:selected { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {hoverTop},
  stop:1 {hoverBottom}); border-color: {hoverBorder}; color: {hoverText}; }
QMenu::item:disabled { color: {menuDisabled}; }
QMenu::separator { height: 1px; background: {menuSeparator}; margin: 3px 4px 3px 28px; }
QMenu::indicator { width: 13px; height: 13px; left: 7px; }
QToolBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {barTop}, stop:1 {barBottom});
  border: none; border-bottom: 1px solid {barBorder}; spacing: 1px; padding: 1px 2px; }
QToolBar QToolButton { background: transparent; color: {barText}; border: 1px solid transparent;
  border-radius: 3px; padding: 2px; }
QToolBar QToolButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {hoverTop},
  stop:1 {hoverBottom}); border-color: {hoverBorder}; color: {hoverText}; }
QToolBar QToolButton:pressed, QToolBar QToolButton:checked, QToolBar QToolButton:open {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {pressTop}, stop:1 {pressBottom});
  border-color: {pressBorder}; color: {hoverText}; }
QToolBar QToolButton[popupMode="2"] { padding-right: 11px; }
QToolBar QToolButton::menu-indicator { subcontrol-origin: padding; subcontrol-position: center right;
  right: 1px; }
QToolBar QLabel { color: {barText}; background: transparent; }
QToolBar::separator { background: {barBorder}; width: 1px; margin: 4px 3px; }
QMainWindow::separator { background: {barBorder}; width: 1px; height: 1px; }
QStatusBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {statusTop}, stop:1 {statusBottom});
  color: {statusText}; border-top: 1px solid {statusBorder}; }
QStatusBar::item { border: none; }
QStatusBar QLabel { color: {statusText}; background: transparent; padding: 0px 4px; }
QStatusBar QToolButton { background: transparent; border: 1px solid transparent; border-radius: 2px;
  padding: 1px; }
QStatusBar QToolButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {hoverTop},
  stop:1 {hoverBottom}); border-color: {hoverBorder}; }
QStatusBar QToolButton:checked, QStatusBar QToolButton:pressed { background: qlineargradient(x1:0, y1:0,
  x2:0, y2:1, stop:0 {pressTop}, stop:1 {pressBottom}); border-color: {pressBorder}; }
QStatusBar QFrame#StatusSeparator { background: {statusBorder}; border: none; }
QSplitter::handle:horizontal { width: 8px; border-left: 1px solid {barBorder}; border-right: 1px solid {barBorder};
  background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 {splitLight}, stop:1 {splitDark}); }
QSplitter::handle:horizontal:hover { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 {hoverTop},
  stop:1 {hoverBottom}); }
QFrame#LeftTW { background: {paneBack}; border: 1px solid {paneBorder}; }
QWidget#EWBPanel { border: 1px solid {paneBorder}; }
)";

const std::vector<TThemeDef>& Themes()
{
    static const std::vector<TThemeDef> themes = {
        {"Office 2007 blue",
         str::sThemeOffice2007Blue,
         {"#DAE6F4", "#0F1E33", "#FFFFFF", "#EEF4FC", "#000000", "#E1ECFA", "#15428B", "#4A84C8", "#FFFFFF",
          "#1A5DB8", "#8C9BB0"},
         {"#E6F0FD", "#C8DCF6", "#15428B", "#E9F1FC", "#BCD4F3", "#8DB2E3", "#15428B", "#FFF8D9", "#FFD870",
          "#DBBD6A", "#1F2F4A", "#FFC66B", "#FFA63D", "#C2893A", "#DCE9FA", "#B7CFF0", "#86A4CE", "#15428B",
          "#DCE9FB", "#A9C5EC", "#FAFCFF", "#97AECC", "#1B2C45", "#C5D4E8", "#9AA7B8", "#8DB2E3", "#FFFFFF"}},
        {"Office 2007 silver",
         str::sThemeOffice2007Silver,
         {"#E9EBEE", "#1F1F1F", "#FFFFFF", "#F3F4F6", "#000000", "#EEF0F3", "#30343A", "#6C8CB8", "#FFFFFF",
          "#2C5C9C", "#9A9FA6"},
         {"#F8F9FA", "#DCE0E5", "#3B3F45", "#F7F8F9", "#D3D8DF", "#A7ADB6", "#30343A", "#FFF8D9", "#FFD870",
          "#DBBD6A", "#1F1F1F", "#FFC66B", "#FFA63D", "#C2893A", "#EEF0F3", "#CDD3DA", "#A0A7B1", "#3B3F45",
          "#EFF1F3", "#BCC3CC", "#FBFBFC", "#A7ADB6", "#1F1F1F", "#D2D6DC", "#A3A8AF", "#A7ADB6", "#FFFFFF"}},
        {"Office 2007 black",
         str::sThemeOffice2007Black,
         {"#444444", "#F0F0F0", "#FFFFFF", "#EDEDED", "#000000", "#595959", "#FFFFFF", "#F2A33A", "#000000",
          "#FFB347", "#9A9A9A"},
         {"#5E5E5E", "#3A3A3A", "#FFFFFF", "#646464", "#353535", "#1F1F1F", "#F2F2F2", "#FFE9A8", "#FFC453",
          "#C9A24A", "#000000", "#FFB45A", "#F08C24", "#B36B1F", "#585858", "#2E2E2E", "#1C1C1C", "#E6E6E6",
          "#5E5E5E", "#2C2C2C", "#F5F5F5", "#5B5B5B", "#1A1A1A", "#CFCFCF", "#A0A0A0", "#1F1F1F", "#FFFFFF"}},
        // Its first (blue) colour scheme always, never the system colours.
        {"Office 2003",
         str::sThemeOffice2003,
         {"#DCE8FA", "#000000", "#FFFFFF", "#EEF4FD", "#000000", "#DCE8FA", "#000000", "#316AC5", "#FFFFFF",
          "#0645AD", "#8D99AE"},
         {"#DDEBFD", "#A3C2F5", "#000000", "#E3EFFF", "#7BA2E7", "#3B619C", "#000000", "#FFF4CC", "#FFD091",
          "#000080", "#000000", "#FED38D", "#FB8C3C", "#000080", "#C6DCFB", "#8FB3EE", "#6B8FD3", "#000000",
          "#D5E5FC", "#8BB0EB", "#FAFAFA", "#002D96", "#000000", "#6A8CCB", "#8D8D8D", "#3B619C", "#FFFFFF"}},
        {"High contrast",
         str::sThemeHighContrast,
         {"#000000", "#FFFFFF", "#000000", "#1A1A1A", "#FFFFFF", "#000000", "#FFFFFF", "#1AEBFF", "#000000",
          "#FFFF00", "#A0A0A0"},
         {"#000000", "#000000", "#FFFFFF", "#000000", "#000000", "#FFFFFF", "#FFFFFF", "#1AEBFF", "#1AEBFF",
          "#FFFFFF", "#000000", "#FFFF00", "#FFFF00", "#FFFFFF", "#000000", "#000000", "#FFFFFF", "#FFFFFF",
          "#FFFFFF", "#FFFFFF", "#000000", "#FFFFFF", "#FFFFFF", "#FFFFFF", "#A0A0A0", "#FFFFFF", "#000000"}},
    };
    return themes;
}

const char* const kSystemTheme = "System";

QString FillSheet(const TChrome& c)
{
    const std::pair<const char*, const char*> fields[] = {
        {"menuBarTop", c.menuBarTop},     {"menuBarBottom", c.menuBarBottom},
        {"menuBarText", c.menuBarText},   {"barTop", c.barTop},
        {"barBottom", c.barBottom},       {"barBorder", c.barBorder},
        {"barText", c.barText},           {"hoverTop", c.hoverTop},
        {"hoverBottom", c.hoverBottom},   {"hoverBorder", c.hoverBorder},
        {"hoverText", c.hoverText},       {"pressTop", c.pressTop},
        {"pressBottom", c.pressBottom},   {"pressBorder", c.pressBorder},
        {"statusTop", c.statusTop},       {"statusBottom", c.statusBottom},
        {"statusBorder", c.statusBorder}, {"statusText", c.statusText},
        {"splitLight", c.splitLight},     {"splitDark", c.splitDark},
        {"menuBack", c.menuBack},         {"menuBorder", c.menuBorder},
        {"menuText", c.menuText},         {"menuSeparator", c.menuSeparator},
        {"menuDisabled", c.menuDisabled}, {"paneBorder", c.paneBorder},
        {"paneBack", c.paneBack},
    };
    QString sheet = QString::fromLatin1(kSheet);
    for (const auto& [field, colour] : fields)
        sheet.replace(QLatin1Char('{') + QLatin1String(field) + QLatin1Char('}'), QLatin1String(colour));
    return sheet;
}

QPalette MakePalette(const TColours& c)
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(c.window));
    p.setColor(QPalette::WindowText, QColor(c.windowText));
    p.setColor(QPalette::Base, QColor(c.base));
    p.setColor(QPalette::AlternateBase, QColor(c.alternateBase));
    p.setColor(QPalette::Text, QColor(c.text));
    p.setColor(QPalette::Button, QColor(c.button));
    p.setColor(QPalette::ButtonText, QColor(c.buttonText));
    p.setColor(QPalette::Highlight, QColor(c.highlight));
    p.setColor(QPalette::HighlightedText, QColor(c.highlightedText));
    p.setColor(QPalette::Link, QColor(c.link));
    p.setColor(QPalette::ToolTipBase, QColor(c.base));
    p.setColor(QPalette::ToolTipText, QColor(c.text));
    p.setColor(QPalette::PlaceholderText, QColor(c.disabledText));
    p.setColor(QPalette::BrightText, QColor(c.highlight));
    // Fusion derives its bevels from Light/Mid/Dark; keep them in the theme's hue.
    const QColor button(c.button);
    p.setColor(QPalette::Light, button.lighter(150));
    p.setColor(QPalette::Midlight, button.lighter(125));
    p.setColor(QPalette::Mid, button.darker(130));
    p.setColor(QPalette::Dark, button.darker(160));
    p.setColor(QPalette::Shadow, button.darker(300));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(c.disabledText));
    return p;
}

const TThemeDef* FindTheme(const QString& name)
{
    for (const TThemeDef& theme : Themes())
        if (name == QLatin1String(theme.name))
            return &theme;
    return nullptr;
}

// The style Qt chose for this desktop before any theme replaced it.
QString& PlatformStyleName()
{
    static QString name;
    return name;
}

QString& CurrentName()
{
    static QString name = DefaultThemeName();
    return name;
}

// Which of the two styles is in force: Fusion under a named theme, the
// desktop's own under "System".  Qt's style object cannot tell: under a
// style sheet it answers with no name at all.
enum class TStyleInForce { Platform, Fusion, System };

TStyleInForce& StyleInForce()
{
    static TStyleInForce style = TStyleInForce::Platform;
    return style;
}

void RememberPlatformStyle()
{
    if (StyleInForce() == TStyleInForce::Platform && PlatformStyleName().isEmpty())
        PlatformStyleName() = QApplication::style()->name();
}

// Qt's styles squeeze the arrow of a drop-down button, a few pixels wide, into
// the bottom right corner of its picture, where the picture's own dark edge
// swallows it.  The desktop's style under "System" gets room beside the
// picture for a full arrow, as the named themes' style sheet gives it.
class TDropDownRoomStyle : public QProxyStyle {
    // The room the named themes' sheet gives the arrow.
    static constexpr int kArrowRoom = 11;

public:
    using QProxyStyle::QProxyStyle;

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_ToolButton && HasCornerArrow(option))
            result.rwidth() += kArrowRoom;
        return result;
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option);
        if (control != CC_ToolButton || button == nullptr || !HasCornerArrow(button)) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        // The desktop's bevel and focus mark over the whole button, with
        // neither picture nor corner arrow ...
        QStyleOptionToolButton bevel(*button);
        bevel.features &= ~QStyleOptionToolButton::HasMenu;
        bevel.icon = QIcon();
        bevel.text.clear();
        QProxyStyle::drawComplexControl(control, &bevel, painter, widget);
        // ... then the picture left of the room, and the arrow in it.
        const int frame = pixelMetric(PM_DefaultFrameWidth, button, widget);
        QStyleOptionToolButton label(*button);
        label.rect = button->rect.adjusted(frame, frame, -frame - kArrowRoom, -frame);
        drawControl(CE_ToolButtonLabel, &label, painter, widget);
        QStyleOption arrow(*button);
        const int side = kArrowRoom - 4;
        arrow.rect = QRect(button->rect.right() - frame - kArrowRoom + 1,
                           button->rect.center().y() - side / 2 + 1, side, side);
        drawPrimitive(PE_IndicatorArrowDown, &arrow, painter, widget);
    }

private:
    static bool HasCornerArrow(const QStyleOption* option)
    {
        const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option);
        return button != nullptr && (button->features & QStyleOptionToolButton::HasMenu) &&
               !(button->features & QStyleOptionToolButton::MenuButtonPopup);
    }
};

void UseFusion()
{
    RememberPlatformStyle();
    if (StyleInForce() != TStyleInForce::Fusion)
        QApplication::setStyle(QStringLiteral("Fusion"));
    StyleInForce() = TStyleInForce::Fusion;
}

void UseSystemStyle()
{
    RememberPlatformStyle();
    if (StyleInForce() != TStyleInForce::System) {
        QStyle* desktop =
            PlatformStyleName().isEmpty() ? nullptr : QStyleFactory::create(PlatformStyleName());
        QApplication::setStyle(new TDropDownRoomStyle(desktop));
    }
    StyleInForce() = TStyleInForce::System;
}

}  // namespace

QStringList ThemeNames()
{
    QStringList names;
    for (const TThemeDef& theme : Themes())
        names << QLatin1String(theme.name);
    names << QLatin1String(kSystemTheme);
    return names;
}

QString DefaultThemeName()
{
    return QStringLiteral("Office 2007 blue");
}

bool IsKnownTheme(const QString& name)
{
    return ThemeNames().contains(name);
}

QString ThemeCaption(const QString& name)
{
    if (name == QLatin1String(kSystemTheme))
        return str::sThemeSystem();
    const TThemeDef* theme = FindTheme(name);
    return theme != nullptr ? theme->caption() : name;
}

QString ApplyTheme(const QString& name)
{
    const QString chosen = IsKnownTheme(name) ? name : DefaultThemeName();
    if (chosen == QLatin1String(kSystemTheme)) {
        // The named theme's sheet goes first, so the desktop's style is not
        // wrapped in a sheet's style only to be unwrapped again.
        qApp->setStyleSheet(QString());
        UseSystemStyle();
        QApplication::setPalette(QApplication::style()->standardPalette());
    } else {
        const TThemeDef* theme = FindTheme(chosen);
        UseFusion();
        QApplication::setPalette(MakePalette(theme->colours));
        qApp->setStyleSheet(FillSheet(theme->chrome));
    }
    CurrentName() = chosen;
    return chosen;
}

QString CurrentThemeName()
{
    return CurrentName();
}

}  // namespace brv
