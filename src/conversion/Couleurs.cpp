#include "conversion/Couleurs.h"

#include <iterator>

namespace {
// System colour index -> the palette role that plays its part here (scroll bar, desktop, active
// caption, inactive caption, menu, window, window frame, menu text, window text, caption text,
// active border, inactive border, application workspace, highlight, highlighted text, button
// face, button shadow, grey text, button text, inactive caption text, button highlight, dark
// shadow, light, tooltip text, tooltip background).
constexpr QPalette::ColorRole RolesSysteme[] = {
    QPalette::Button,
    QPalette::Dark,
    QPalette::Highlight,
    QPalette::Mid,
    QPalette::Window,
    QPalette::Base,
    QPalette::Shadow,
    QPalette::WindowText,
    QPalette::WindowText,
    QPalette::HighlightedText,
    QPalette::Midlight,
    QPalette::Midlight,
    QPalette::Mid,
    QPalette::Highlight,
    QPalette::HighlightedText,
    QPalette::Button,
    QPalette::Dark,
    QPalette::PlaceholderText,
    QPalette::ButtonText,
    QPalette::Mid,
    QPalette::Light,
    QPalette::Shadow,
    QPalette::Midlight,
    QPalette::ToolTipText,
    QPalette::ToolTipBase,
};

QPalette::ColorRole roleSysteme(quint32 index)
{
    return index < std::size(RolesSysteme) ? RolesSysteme[index] : QPalette::Window;
}
} // namespace

QColor couleurDepuisVB(quint32 valeur, const QPalette &palette)
{
    if (valeur & 0x80000000u)
        return palette.color(QPalette::Active, roleSysteme(valeur & 0xFFu));
    return QColor(int(valeur & 0xFF), int((valeur >> 8) & 0xFF), int((valeur >> 16) & 0xFF));
}

quint32 couleurVersVB(const QColor &couleur)
{
    return quint32(couleur.red()) | (quint32(couleur.green()) << 8)
        | (quint32(couleur.blue()) << 16);
}
