#pragma once
// A column header that draws each owner-drawn column title as a push button with the title
// centred on it from the top, on two lines where the title holds a line feed. Which columns
// are owner-drawn is a property of the model's header data (OwnerDrawRole); the header keeps
// no state of its own. Other columns are drawn as usual.

#include <QHeaderView>

class CHeaderCtrlEx : public QHeaderView {
    Q_OBJECT
public:
    // Header-data role holding true for owner-drawn column titles.
    static constexpr int OwnerDrawRole = Qt::UserRole + 0x4D;
    // Titles are read up to this many characters.
    static constexpr int kMaxTitle = 256;

    explicit CHeaderCtrlEx(Qt::Orientation orientation, QWidget* parent = nullptr);

    bool isOwnerDrawn(int logicalIndex) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    // The header is one line of its own font high, whatever the titles hold; the titles are
    // drawn in the smaller user-interface font of the list, so two lines fit.
    QSize sectionSizeFromContents(int logicalIndex) const override;
};
