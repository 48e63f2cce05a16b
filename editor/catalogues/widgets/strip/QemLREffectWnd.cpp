#include "QemLREffectWnd.h"

#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/imaging/ThumbnailCache.h"

#include <QLinearGradient>
#include <QPainter>

CQemLREffectWnd::CQemLREffectWnd(EditorContext& context, QWidget* parent)
    : CLREffectWnd(context.Album(), parent)
    , m_context(context)
{
}

QSize CQemLREffectWnd::sizeHint() const
{
    return QSize(QWidget::sizeHint().width(), kStripHeight);
}

void CQemLREffectWnd::CurrentChanged(int, int newIndex)
{
    if (!Album().IsValidIndex(newIndex))
        return;
    if (HasCurrentCell(newIndex, Kind::Photo))
        emit PhotoCellCurrent(newIndex);
    else if (HasCurrentCell(newIndex, Kind::Transition))
        emit TransitionCellCurrent(newIndex);
}

void CQemLREffectWnd::BeforeCurrentChange(int oldIndex, int newIndex)
{
    if (Album().IsValidIndex(oldIndex) && oldIndex != newIndex)
        emit BeforeCurrentChanges(oldIndex, newIndex);
}

void CQemLREffectWnd::AfterExchange(int target, int pressed, Kind kind)
{
    // The moved transition is previewed where it now stands. The album model
    // has already refilled the storyboard in strip order.
    if (kind == Kind::Transition)
        CurrentChanged(pressed, target);
}

void CQemLREffectWnd::RefreshAfterPhotoMove()
{
    emit PhotoMoved();
}

void CQemLREffectWnd::RefreshAfterTransitionExchange()
{
    // The explorer follows the album's EffectChanged; the model marked the
    // project modified.
}

void CQemLREffectWnd::DrawCellBackground(QPainter& painter, const QRect& cell, int state)
{
    if (state != LrItem::Current)
        return;
    const QRect area = cell.adjusted(2, 1, -2, -1);
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0.0, QColor(255, 231, 149));
    gradient.setColorAt(1.0 / 6, QColor(255, 254, 218));
    gradient.setColorAt(1.0 / 3, QColor(255, 216, 81));
    gradient.setColorAt(2.0 / 3, QColor(255, 231, 151));
    gradient.setColorAt(1.0, QColor(255, 216, 81));
    painter.fillRect(area, gradient);
}

QImage CQemLREffectWnd::PhotoPicture(int index)
{
    const QImage thumbnail = m_context.Thumbnails().PictureOf(Album().Photo(index)->thumbnail);
    if (thumbnail.isNull())
        return {};
    auto it = m_pictures.find(thumbnail.cacheKey());
    if (it != m_pictures.end())
        return *it;
    constexpr int kKept = 256;
    if (m_pictures.size() > kKept)
        m_pictures.clear();
    // White is the transparent colour of the thumbnail.
    QImage picture = thumbnail.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if ((line[x] & 0xffffff) == 0xffffff)
                line[x] = 0;
    }
    m_pictures.insert(thumbnail.cacheKey(), picture);
    return picture;
}

void CQemLREffectWnd::DrawPhotoPicture(QPainter& painter, const QRect& cell, int index)
{
    const QImage picture = PhotoPicture(index);
    if (picture.isNull())
        return;
    const QRect target = cell.adjusted(4, 14, -4, -14);
    if (!HasCurrentCell(index, Kind::Photo)) {
        constexpr int kShadow = 3;
        painter.fillRect(QRect(target.right() + 1, target.top() + kShadow, kShadow, target.height()),
                         QColor(0, 0, 0, 70));
        painter.fillRect(QRect(target.left() + kShadow, target.bottom() + 1, target.width() - kShadow, kShadow),
                         QColor(0, 0, 0, 70));
    }
    painter.drawImage(target, picture);
}

void CQemLREffectWnd::DrawEffectPicture(QPainter& painter, const QRect& cell, int index)
{
    const QImage& picture = Album().Item(index).effectPicture;
    if (picture.isNull())
        return;
    const QRect area = cell.adjusted(-1, -1, 1, 1);
    QSize size = picture.size();
    if (size.width() > area.width())
        size = QSize(area.width(), size.height() * area.width() / size.width());
    QRect target(QPoint(0, 0), size);
    target.moveCenter(area.center());
    painter.drawImage(target, picture);
}
