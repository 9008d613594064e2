#pragma once
// Small building blocks shared by the main window and its pages: a link-styled label that reports
// clicks, a label with a picture beside its text, and helpers that name controls as they are made.

#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QString>
#include <QWidget>

#include <utility>

// A label drawn as a link; a click (or Enter when it has focus) emits Clicked.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLinkLabel(const QString &caption = {}, QWidget *parent = nullptr);

    QString Caption() const { return caption; }
    void SetCaption(const QString &text);

Q_SIGNALS:
    void Clicked();

private:
    QString caption;
};

// A picture followed by a text, as used for status displays. Elided labels end long texts in "…"
// instead of growing; a null icon leaves no room for the picture.
class TImageLabel : public QWidget {
    Q_OBJECT
public:
    explicit TImageLabel(const QString &text = {}, QWidget *parent = nullptr);

    QString Text() const { return text; }
    void SetText(const QString &value);
    QIcon Image() const { return image; }
    void SetImage(const QIcon &value);
    void SetElided(bool value);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int ImageWidth() const;

    QString text;
    QIcon image;
    bool elided = false;
};

// A check box whose caption wraps onto further lines instead of widening the page.
class TWrapCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TWrapCheckBox(const QString &text, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }

private:
    int IndicatorSpace() const;
};

// Makes a control with its component name as objectName: Named<QCheckBox>(parent, "chkX", tr("Caption")).
template <typename W, typename... Args> W *Named(QWidget *parent, const char *name, Args &&...args) {
    auto *widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// Gives a page a scroll area that shows bars only when the window is smaller than the page's
// content; returns the widget that holds the content.
QWidget *MakeScrollingPage(QWidget *page);
