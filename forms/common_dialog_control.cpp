// Common dialog component: kind 0 font, 1 colour, 2 open file, 3 save file.
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <cstdlib>

#include "forms/bgr_color.h"
#include "forms/controls.h"
#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/template_format.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"

namespace tavrin::forms {

CommonDialogControl::CommonDialogControl(const ControlInit& init) : TabledControl(init) {
    const TypeData& d = init.item->typeData;
    kind_ = d.integer(Tag::kDialogKind, 0);
    font_ = d.has(Tag::kFont) ? *d.raw(Tag::kFont) : FontToRecord(DefaultGuiFont());
    color_ = uint32_t(d.integer(Tag::kTextColor, 0));
    title_ = d.text(Tag::kTitle);
    fileName_ = d.text(Tag::kText);
    filter_ = d.settings()["filter"];
}

bool CommonDialogControl::open() {
    static const char* kinds[] = {"font", "color", "open-file", "save-file"};
    const int32_t kind = kind_ >= 0 && kind_ <= 3 ? kind_ : 0;
    DialogRequest request;
    request.kind = kinds[kind];
    request.fields["title"] = GbkToUtf8(title_);
    const QFont font = FontFromRecord(font_);
    if (kind == 0) {
        request.fields["face"] = font.family().toStdString();
        request.fields["size"] = std::to_string(font.pointSize());
        request.fields["bold"] = font.bold() ? "1" : "0";
        request.fields["italic"] = font.italic() ? "1" : "0";
    } else if (kind == 1) {
        request.fields["color"] = std::to_string(color_);
    } else {
        request.fields["file"] = GbkToUtf8(fileName_);
        request.fields["filter"] = GbkToUtf8(filter_);
    }
    if (auto reply = AnswerDialogAutomatically(request)) {
        if (!reply->accepted) return false;
        auto get = [&](const char* k) -> std::string {
            auto it = reply->fields.find(k);
            return it == reply->fields.end() ? std::string() : it->second;
        };
        if (kind == 0) {
            QFont f = font;
            if (!get("face").empty()) f.setFamily(QString::fromStdString(get("face")));
            if (!get("size").empty()) f.setPointSize(std::max(1, std::atoi(get("size").c_str())));
            if (!get("bold").empty()) f.setBold(get("bold") == "1");
            if (!get("italic").empty()) f.setItalic(get("italic") == "1");
            font_ = FontToRecord(f);
        } else if (kind == 1) {
            if (!get("color").empty()) color_ = uint32_t(std::stoul(get("color")));
        } else {
            fileName_ = Utf8ToGbk(get("file"));
        }
        return true;
    }
    const QString title = GbkToQString(title_);
    if (kind == 0) {
        bool ok = false;
        QFont f = QFontDialog::getFont(&ok, font, nullptr, title);
        if (ok) font_ = FontToRecord(f);
        return ok;
    }
    if (kind == 1) {
        QColor c = QColorDialog::getColor(ColorFromBgr(color_), nullptr, title);
        if (c.isValid()) color_ = BgrFromColor(c);
        return c.isValid();
    }
    // The filter is "name|pattern|name|pattern" as the program writes it.
    QStringList parts = GbkToQString(filter_).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i] + " (" + parts[i + 1] + ")";
    const QString start = GbkToQString(fileName_);
    const QString chosen =
        kind == 2 ? QFileDialog::getOpenFileName(nullptr, title, start, filters.join(";;"))
                  : QFileDialog::getSaveFileName(nullptr, title, start, filters.join(";;"));
    if (chosen.isEmpty()) return false;
    fileName_ = QStringToGbk(chosen);
    return true;
}

const PropertyTable<CommonDialogControl>& CommonDialogControl::properties() {
    using D = CommonDialogControl;
    using namespace DataKind;
    static const PropertyTable<D> table{
        {DialogProp::kKind, kPick, [](D& c) { return PropertyData::Int(c.kind_); },
         [](D& c, const PropertyData& in) { c.kind_ = in.asInt(); }},
        {DialogProp::kFont, kFont, [](D& c) { return PropertyData::Bytes(c.font_); },
         [](D& c, const PropertyData& in) { c.font_ = in.bytes; }},
        {DialogProp::kColor, kColor, [](D& c) { return PropertyData::Int(c.color_); },
         [](D& c, const PropertyData& in) { c.color_ = uint32_t(in.number); }},
        {DialogProp::kFileName, kText, [](D& c) { return PropertyData::Bytes(c.fileName_); },
         [](D& c, const PropertyData& in) { c.fileName_ = in.bytes; }},
        {DialogProp::kTitle, kText, [](D& c) { return PropertyData::Bytes(c.title_); },
         [](D& c, const PropertyData& in) { c.title_ = in.bytes; }},
        {DialogProp::kFilter, kText, [](D& c) { return PropertyData::Bytes(c.filter_); },
         [](D& c, const PropertyData& in) { c.filter_ = in.bytes; }},
    };
    return table;
}

}  // namespace tavrin::forms
