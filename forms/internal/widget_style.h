// Fonts, colours and alignment of a control's widget as its template record
// and its properties set them.
#pragma once

#include <QPalette>
#include <QString>
#include <cstdint>
#include <string>

#include "forms/template_reader.h"

class QWidget;

namespace tavrin::forms {

// The template's font record, when it has one.
void ApplyFont(QWidget* w, const TypeData& data);
// One palette role; a background role also makes the widget fill its background.
void SetPaletteColor(QWidget* w, QPalette::ColorRole role, uint32_t bgr);
// The template's text and back colours, when it has them, into the given roles.
void ApplyColors(QWidget* w, const TypeData& data, QPalette::ColorRole text,
                 QPalette::ColorRole back);
// Alignment number 0 left, 1 centre, 2 right (vertically centred).
Qt::Alignment AlignmentOf(int32_t align);
QString Gbk(const std::string& s);

}  // namespace tavrin::forms
