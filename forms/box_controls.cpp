// Group box, shape box and picture box: containers of other controls.
#include <QFrame>
#include <QGroupBox>
#include <QPainter>

#include "forms/bgr_color.h"
#include "forms/controls.h"
#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/template_format.h"
#include "internal/picture.h"
#include "internal/widget_style.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

namespace {

// A shape box draws its outline and fill; children sit on top of it.
class ShapeWidget : public QWidget {
  public:
    ShapeWidget(QWidget* parent, int32_t style, uint32_t line, uint32_t fill, bool filled)
        : QWidget(parent), style_(style), line_(line), fill_(fill), filled_(filled) {}
    int32_t style_;
    uint32_t line_, fill_;
    bool filled_;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(ColorFromBgr(line_));
        if (filled_) p.setBrush(ColorFromBgr(fill_));
        const QRect r = rect().adjusted(0, 0, -1, -1);
        switch (style_) {
            case 1:
                p.drawEllipse(r);
                break;
            case 2:
                p.drawRoundedRect(r, 6, 6);
                break;
            case 3:
                p.drawLine(r.topLeft(), r.topRight());
                break;
            default:
                p.drawRect(r);
                break;
        }
    }
};

class PictureWidget : public QFrame {
  public:
    explicit PictureWidget(QWidget* parent) : QFrame(parent) {}
    QImage image;

  protected:
    void paintEvent(QPaintEvent* e) override {
        QFrame::paintEvent(e);
        if (image.isNull()) return;
        QPainter p(this);
        p.drawImage(contentsRect(), image);
    }
};

QGroupBox* Group(BoxControl& c) {
    return static_cast<QGroupBox*>(c.widget());
}
ShapeWidget* Shape(BoxControl& c) {
    return static_cast<ShapeWidget*>(c.widget());
}

}  // namespace

BoxControl::BoxControl(const ControlInit& init) : Control(init) {
    const TypeData& d = init.item->typeData;
    switch (init.item->typeId) {
        case TypeId::kGroupBox: {
            auto* g = new QGroupBox(Gbk(d.text(Tag::kCaption)), init.parent);
            ApplyFont(g, d);
            setWidget(g);
            break;
        }
        case TypeId::kShapeBox: {
            auto* s = new ShapeWidget(
                init.parent, d.integer(Tag::kStyle), uint32_t(d.integer(Tag::kTextColor, 0x808080)),
                uint32_t(d.integer(Tag::kBackColor, 0xFFFFFF)), d.has(Tag::kBackColor));
            setWidget(s);
            break;
        }
        default: {
            auto* p = new PictureWidget(init.parent);
            p->setFrameShape(d.integer(Tag::kBorder, 1) ? QFrame::StyledPanel : QFrame::NoFrame);
            if (const std::string* pic = d.raw(Tag::kPicture)) {
                picture_ = *pic;
                p->image = DecodePicture(picture_);
            }
            ApplyColors(p, d, QPalette::WindowText, QPalette::Window);
            setWidget(p);
            break;
        }
    }
}

QWidget* BoxControl::childContainer() {
    return widget();
}

const PropertyTable<BoxControl>& BoxControl::properties(uint32_t typeId) {
    using X = BoxControl;
    using namespace DataKind;
    static const PropertyTable<X> group{
        {GroupProp::kCaption, kText, [](X& c) { return TextData(QStringToGbk(Group(c)->title())); },
         [](X& c, const PropertyData& in) { Group(c)->setTitle(GbkToQString(in.bytes)); }},
        {GroupProp::kFont, kFont, [](X& c) { return FontData(Group(c)->font()); },
         [](X& c, const PropertyData& in) { Group(c)->setFont(FontFromRecord(in.bytes)); }},
    };
    static const PropertyTable<X> shape{
        {ShapeProp::kStyle, kPick, [](X& c) { return PropertyData::Int(Shape(c)->style_); },
         [](X& c, const PropertyData& in) {
             Shape(c)->style_ = in.asInt();
             Shape(c)->update();
         }},
        {ShapeProp::kLineColor, kColor, [](X& c) { return PropertyData::Int(Shape(c)->line_); },
         [](X& c, const PropertyData& in) {
             Shape(c)->line_ = uint32_t(in.number);
             Shape(c)->update();
         }},
        // Setting a fill colour turns the fill on.
        {ShapeProp::kFillColor, kColor, [](X& c) { return PropertyData::Int(Shape(c)->fill_); },
         [](X& c, const PropertyData& in) {
             Shape(c)->fill_ = uint32_t(in.number);
             Shape(c)->filled_ = true;
             Shape(c)->update();
         }},
    };
    static const PropertyTable<X> picture{
        {PictureProp::kPicture, kPicture, [](X& c) { return PropertyData::Bytes(c.picture_); },
         [](X& c, const PropertyData& in) {
             auto* p = static_cast<PictureWidget*>(c.widget());
             c.picture_ = in.bytes;
             p->image = DecodePicture(c.picture_);
             p->update();
         }},
        {PictureProp::kBackColor, kColor,
         [](X& c) { return ColorData(c.widget()->palette().color(QPalette::Window)); },
         [](X& c, const PropertyData& in) {
             SetPaletteColor(c.widget(), QPalette::Window, uint32_t(in.number));
         }},
    };
    return typeId == TypeId::kGroupBox ? group : typeId == TypeId::kShapeBox ? shape : picture;
}

bool BoxControl::readProperty(int number, PropertyData& out) {
    return properties(typeId()).read(*this, number, out);
}

bool BoxControl::writeProperty(int number, const PropertyData& in) {
    return properties(typeId()).write(*this, number, in);
}

}  // namespace tavrin::forms
