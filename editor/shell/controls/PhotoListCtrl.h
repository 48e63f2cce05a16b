// The editor's thumbnail grid: equal cells in rows, each a picture with an
// optional label under it, scrolled vertically. The list owns its items, the
// selection, the focus item and the scroll position; geometry comes from
// PhotoListLayout and the selection rules from PhotoListSelection, so this
// class only forwards input, paints and notifies. Derived lists put in their
// own pictures, drag behaviour and notifications through the virtual
// operations below.
#pragma once

#include "CommandTarget.h"
#include "PhotoListLayout.h"
#include "PhotoListSelection.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>
#include <any>
#include <vector>

class QMenu;
class QPainter;

// One item of a list. The base list reads only the label and the picture;
// the other fields belong to the derived lists.
struct PhotoListItem {
    QString label;      // drawn under the picture when labels are shown
    QString path;       // the file the item stands for, empty when none
    int flag = 0;       // kept for derived lists
    QImage picture;     // owned by the item
    std::any ownerData; // the derived list's record
    int fieldMask = 0;  // bit 8: state mask and state are valid
    int stateMask = 0;
    int state = 0;      // overlay number in bits 8 to 11, "cut" in bit 4
    int iconIndex = -1;
};

class CPhotoListCtrl : public QAbstractScrollArea, public CommandTarget {
    Q_OBJECT
public:
    static constexpr int kAutoScrollMs = 50;
    static constexpr int kShadowDepth = 4; // picture frame shadow, right and bottom

    explicit CPhotoListCtrl(QWidget* parent = nullptr);
    // Frees every item through the base DeleteItem; a derived list whose
    // DeleteItem does more calls RemoveAll in its own destructor.
    ~CPhotoListCtrl() override;

    // Items. The list owns what it holds; Remove without free hands the
    // item back to the caller.
    PhotoListItem* Append(const QString& label, const QImage& picture, int flag = 0, std::any ownerData = {},
                          int iconIndex = -1);
    PhotoListItem* AppendCopy(const PhotoListItem& record);
    void AppendItem(PhotoListItem* item);
    PhotoListItem* InsertNew(int index, const QString& label, const QImage& picture, int flag = 0,
                             std::any ownerData = {});
    void InsertBefore(PhotoListItem* item, const PhotoListItem* target);
    bool Remove(PhotoListItem* item, bool free);
    void RemoveAll(bool repaint = true);
    PhotoListItem* ItemAt(int index) const;
    int IndexOf(const PhotoListItem* item) const;
    int Count() const { return int(m_items.size()); }
    int ColumnCount() const { return m_layout.ColumnCount(); }
    int RowCount() const { return m_layout.RowCount(Count()); }

    // Selection and focus.
    const std::vector<int>& Selection() const { return m_selection.Selected(); }
    bool IsSelected(int index) const { return m_selection.IsSelected(index); }
    int FocusItem() const { return m_selection.FocusItem(); }
    void Select(int index, bool toggle = false);
    void ClearSelection();
    void SelectAll();
    void SetFocusItem(int index);

    // Scrolling, in pixels of content. The scroll-bar update runs after size
    // changes, additions and removals; after InsertNew the caller runs it.
    // A changed item count resets the focus item and scrolls to the top.
    void UpdateScrollBar();
    int ScrollY() const { return m_scrollY; }
    void ScrollBy(int pixels);
    void EnsureVisible(int index);
    void ScrollToEnd();

    // Geometry in viewport coordinates.
    int HitTest(QPoint client) const;
    QRect CellRect(int index) const { return m_layout.CellRect(index, m_scrollY); }
    QRect LabelRect(int index) const;
    const PhotoListLayout& Layout() const { return m_layout; }

    void SetLabelsShown(bool shown);
    void SetColumnGap(int gap);
    void SetDropMarkerEnabled(bool enabled) { m_markerEnabled = enabled; }
    PhotoListSelection::DropMarker DropMarker() const { return m_marker; }
    bool PendingDrag() const { return m_pendingDrag; }
    bool InBand() const { return m_bandActive; }

    // The pop-up menu of the list: OnContextMenu sees it before it is shown.
    void ShowContextMenu(QMenu* menu, QPoint globalPos);

    virtual void SetThumbnailSize(int width, int height);

    // What a screen reader says for the item: by default its label and its
    // file's path. Lists whose label is not a readable name say more.
    virtual QString AccessibleName(int index) const;
    virtual QString AccessibleDescription(int index) const;

public slots:
    // Commands forwarded by the main window.
    void SelectAllCommand() { SelectAll(); }
    void DeleteCommand();
    // Ctrl+A and Delete forwarded by the main window.
    bool OnForwardedCommand(int id) override
    {
        if (id == kSelectAll)
            SelectAllCommand();
        else if (id == kDelete)
            DeleteCommand();
        else
            return false;
        return true;
    }

signals:
    void DeleteRequested();             // Delete with a non-empty selection
    void ItemDoubleClicked(int focusIndex);
    void ItemsChanged();                // emitted by derived lists from OnItemsChanged

protected:
    // Called after Append, AppendCopy, AppendItem, InsertNew, Remove and RemoveAll.
    virtual void OnItemsChanged() {}
    virtual void OnContextMenu(QMenu*) {}
    // Frees the item with its picture.
    virtual void DeleteItem(PhotoListItem* item);
    // Stretches GetItemPicture onto GetPictureRect; nothing without a picture.
    virtual void DrawItemPicture(QPainter& painter, PhotoListItem* item, const QRect& pictureArea);
    virtual QImage GetItemPicture(PhotoListItem* item);
    virtual void OnFocusChanged(int /*oldIndex*/, int /*newIndex*/) {}
    enum CellState { Selected = 1, Focused = 2 };
    // The gradient band under the picture.
    virtual void DrawLabelBackground(QPainter& painter, const QRect& cell, int state);
    virtual void DrawItemOverlay(QPainter&, const QRect& /*pictureArea*/, int /*index*/) {}
    // Draws the text as given (already shortened to the rectangle).
    virtual void DrawLabelText(QPainter& painter, const QString& text, const QRect& rect, int flags);
    virtual QRect GetPictureRect(const QRect& pictureArea) { return m_layout.PictureRect(pictureArea); }
    // The I-beam of the insertion marker in the highlight colour.
    virtual void DrawDropMarker(QPainter& painter, const QRect& marker);
    virtual void OnItemActivated(PhotoListItem*) {}
    // x and y in viewport coordinates; several: more than one item selected.
    virtual void OnItemPressed(PhotoListItem*, int /*x*/, int /*y*/, bool /*several*/) {}
    // Moves the drop marker to the cursor.
    virtual void OnItemDragged(PhotoListItem* item, int x, int y, bool several);
    virtual void OnItemReleased(PhotoListItem*, int /*x*/, int /*y*/, bool /*several*/) {}

    PhotoListLayout& MutableLayout() { return m_layout; }

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ItemsAdded();
    void ScrollBarAction(int action);
    void DrawCell(QPainter& painter, int index, const QRect& dirty);
    int TextWidth(int index) const;
    // Repaints and announces what changed since the snapshot.
    void SelectionChanged(const std::vector<int>& before);
    void RepaintCells(const std::vector<int>& indices);
    void FocusMoved(int oldIndex, int newIndex);
    void BandMoveTo(QPoint client, Qt::KeyboardModifiers modifiers);
    void StopBand();
    void ReleaseItem(QPoint client);
    QPoint Content(QPoint client) const { return client + QPoint(0, m_scrollY); }

    std::vector<PhotoListItem*> m_items;
    PhotoListLayout m_layout;
    PhotoListSelection m_selection;
    int m_scrollY = 0;
    bool m_updatingBar = false;
    QColor m_cellBackground{255, 255, 255};
    bool m_frameDrawn = true;
    QImage m_buffer;
    // Band tracking: pressed on empty space, beyond the threshold, cancelled.
    bool m_bandPressed = false;
    bool m_bandActive = false;
    QPoint m_pressPoint, m_lastMouse;
    Qt::KeyboardModifiers m_bandModifiers;
    QBasicTimer m_autoScroll;
    bool m_pendingDrag = false;
    bool m_markerEnabled = false;
    PhotoListSelection::DropMarker m_marker;
    static constexpr qsizetype kTextWidthsKept = 100000;
    mutable QHash<QString, int> m_textWidths; // label -> pixel width in the list's font
};
