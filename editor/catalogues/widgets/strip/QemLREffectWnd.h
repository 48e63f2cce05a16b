// The editor's transition strip: draws the photos' thumbnails and the effect
// pictures with the highlight gradient of the current cell, and turns the
// strip's hooks into the signals the edit step listens to.
#pragma once

#include "LREffectWnd.h"

#include <QHash>
#include <QImage>

class EditorContext;

class CQemLREffectWnd : public QemControls::CLREffectWnd {
    Q_OBJECT
public:
    CQemLREffectWnd(EditorContext& context, QWidget* parent = nullptr);

    // The edit step gives the strip kStripHeight (96) pixels.
    QSize sizeHint() const override;

protected:
    void CurrentChanged(int oldIndex, int newIndex) override;
    void BeforeCurrentChange(int oldIndex, int newIndex) override;
    void AfterExchange(int target, int pressed, Kind kind) override;
    void RefreshAfterPhotoMove() override;
    void RefreshAfterTransitionExchange() override;

    void DrawCellBackground(QPainter& painter, const QRect& cell, int state) override;
    void DrawPhotoPicture(QPainter& painter, const QRect& cell, int index) override;
    void DrawEffectPicture(QPainter& painter, const QRect& cell, int index) override;

private:
    // The thumbnail with its white pixels made transparent, kept per picture.
    QImage PhotoPicture(int index);

    EditorContext& m_context;
    QHash<qint64, QImage> m_pictures; // thumbnail cache key -> prepared picture
};
