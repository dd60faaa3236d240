// Fonts, colours and alignment of controls' widgets.
#include "internal/widget_style.h"

#include <QWidget>

#include "forms/bgr_color.h"
#include "forms/control.h"
#include "forms/template_format.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

void ApplyFont(QWidget* w, const TypeData& data) {
    if (const std::string* font = data.raw(Tag::kFont)) w->setFont(FontFromRecord(*font));
}

void SetPaletteColor(QWidget* w, QPalette::ColorRole role, uint32_t bgr) {
    QPalette p = w->palette();
    p.setColor(role, ColorFromBgr(bgr));
    w->setPalette(p);
    if (role == QPalette::Window || role == QPalette::Base) w->setAutoFillBackground(true);
}

void ApplyColors(QWidget* w, const TypeData& data, QPalette::ColorRole text,
                 QPalette::ColorRole back) {
    if (data.has(Tag::kTextColor))
        SetPaletteColor(w, text, uint32_t(data.integer(Tag::kTextColor)));
    if (data.has(Tag::kBackColor))
        SetPaletteColor(w, back, uint32_t(data.integer(Tag::kBackColor)));
}

Qt::Alignment AlignmentOf(int32_t a) {
    return (a == 1 ? Qt::AlignHCenter : a == 2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

QString Gbk(const std::string& s) {
    return GbkToQString(s);
}

}  // namespace tavrin::forms
