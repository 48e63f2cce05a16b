// The photo explore window: the explorer list of the folder selected in the
// folder tree over a bottom band with the add button (adds the selected
// photos to the album) and the zoom slider (the thumbnail size, applied once
// a short delay after the slider moves and stored in the settings).
#pragma once

#include "ExplorerRules.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class CQemMFCButton;
class CQemPhotoExplorerList;
class EditorContext;

namespace VIRSUAL_CONTROLS {
class CElementHost;
class CMFCRibbonPlayerSlider;
} // namespace VIRSUAL_CONTROLS

class CPhotoExploreWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kAddCommand = 314;
    static constexpr int kZoomCommand = 1200;
    static constexpr int kBandHeight = 27;
    static constexpr int kColumnGap = 10;

    CPhotoExploreWnd(EditorContext& context, QWidget* parent = nullptr);
    ~CPhotoExploreWnd() override;

    // Shows the folder's photos (nothing when it is shown already).
    void SetFolder(const QString& path);
    // Command 314: the selected photos whose thumbnails are ready go to the
    // end of the album, in list order.
    void AddSelectedPhotos();

    CQemPhotoExplorerList* List() const { return m_list; }
    CQemMFCButton* AddButton() const { return m_add; }
    VIRSUAL_CONTROLS::CElementHost* ZoomHost() const { return m_host; }
    VIRSUAL_CONTROLS::CMFCRibbonPlayerSlider* ZoomSlider() const { return m_slider; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ElementCommand(int id);
    void ZoomTimerFired();
    void ApplyZoom();
    void UpdateAddButton();

    EditorContext& m_context;
    CQemPhotoExplorerList* m_list;
    CQemMFCButton* m_add;
    VIRSUAL_CONTROLS::CElementHost* m_host;
    VIRSUAL_CONTROLS::CMFCRibbonPlayerSlider* m_slider = nullptr;
    ExplorerRules::ZoomDelay m_zoomDelay;
    QTimer m_zoomTimer;
    QElapsedTimer m_clock;
};
