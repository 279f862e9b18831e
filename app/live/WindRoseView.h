#pragma once
// The live window's wind rose of the current link, repainted when the window asks (once a
// second while it is shown), not per row.

#include <QWidget>

class CLiveFeed;

class CWindRoseView : public QWidget {
    Q_OBJECT
public:
    explicit CWindRoseView(const CLiveFeed& feed, QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(460, 360); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CLiveFeed& feed_;
};
