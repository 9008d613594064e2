#include "shell/PageKit.h"

#include <QPainter>
#include <QScrollArea>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>

namespace {
constexpr int ImageSize = 16;
constexpr int ImageGap = 4;
} // namespace

TLinkLabel::TLinkLabel(const QString &caption, QWidget *parent) : QLabel(parent) {
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QLabel::linkActivated, this, [this] { Q_EMIT Clicked(); });
    SetCaption(caption);
}

void TLinkLabel::SetCaption(const QString &text) {
    caption = text;
    setText(QStringLiteral("<a href=\"orvi:link\">%1</a>").arg(text.toHtmlEscaped()));
    setAccessibleName(text);
}

TImageLabel::TImageLabel(const QString &text, QWidget *parent) : QWidget(parent), text(text) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void TImageLabel::SetText(const QString &value) {
    text = value;
    setAccessibleName(value);
    updateGeometry();
    update();
}

void TImageLabel::SetImage(const QIcon &value) {
    image = value;
    updateGeometry();
    update();
}

void TImageLabel::SetElided(bool value) {
    elided = value;
    updateGeometry();
    update();
}

int TImageLabel::ImageWidth() const {
    return image.isNull() ? 0 : ImageSize + ImageGap;
}

QSize TImageLabel::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return {ImageWidth() + metrics.horizontalAdvance(text) + 2, qMax(ImageSize, metrics.height()) + 2};
}

QSize TImageLabel::minimumSizeHint() const {
    if (!elided) return sizeHint();
    return {ImageWidth() + fontMetrics().horizontalAdvance(QStringLiteral("…")) + 2, sizeHint().height()};
}

void TImageLabel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    QRect area = rect().adjusted(1, 1, -1, -1);
    if (!image.isNull()) {
        const QRect imageRect(area.left(), area.center().y() - ImageSize / 2 + 1, ImageSize, ImageSize);
        image.paint(&painter, imageRect, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
        area.setLeft(area.left() + ImageWidth());
    }
    const QString shown = elided ? fontMetrics().elidedText(text, Qt::ElideRight, area.width()) : text;
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

TWrapCheckBox::TWrapCheckBox(const QString &text, QWidget *parent) : QCheckBox(text, parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int TWrapCheckBox::IndicatorSpace() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this) +
           style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
}

QSize TWrapCheckBox::sizeHint() const {
    const int width = IndicatorSpace() + fontMetrics().horizontalAdvance(text()) + 2;
    return {width, heightForWidth(width)};
}

QSize TWrapCheckBox::minimumSizeHint() const {
    int widestWord = 0;
    for (const QString &word : text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        widestWord = qMax(widestWord, fontMetrics().horizontalAdvance(word));
    // The height follows the width the layout gives (heightForWidth); the least is one line.
    return {IndicatorSpace() + widestWord + 2, sizeHint().height()};
}

int TWrapCheckBox::heightForWidth(int width) const {
    const QRect bounds(0, 0, qMax(1, width - IndicatorSpace() - 2), QWIDGETSIZE_MAX);
    const int textHeight = fontMetrics().boundingRect(bounds, Qt::TextWordWrap, text()).height();
    return qMax(textHeight, QCheckBox::sizeHint().height()) + 2;
}

void TWrapCheckBox::paintEvent(QPaintEvent *) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The box sits beside the first line of the caption.
    const int indicatorHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this);
    const int lineHeight = fontMetrics().height();
    QStyleOptionButton indicator = option;
    indicator.rect = QRect(0, 1 + qMax(0, (lineHeight - indicatorHeight) / 2),
                           style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this), indicatorHeight);
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, indicator);
    const QRect textRect = rect().adjusted(IndicatorSpace(), 1, -1, -1);
    painter.drawItemText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, palette(), isEnabled(),
                         text(), QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(textRect, Qt::TextWordWrap, text()).adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

QWidget *MakeScrollingPage(QWidget *page) {
    auto *outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(page);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto *content = new QWidget(scroll);
    scroll->setWidget(content);
    outer->addWidget(scroll);
    return content;
}
