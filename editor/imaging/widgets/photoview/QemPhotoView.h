// The editor view of the edit step: the photo view with crop mode, red-eye
// clicks and the link between the caption window and the shown photo's
// caption record.
//
// Crop and red-eye are tools installed on the view; they ask for the edit
// (CropRequested, RedEyeRequested) and the edit commands apply it. The view
// follows the commands' crop and red-eye modes and leaves them on a right
// click, on Escape (crop) and on a click beside the crop rectangle.
#pragma once

#include "editor/imaging/ImageTransforms.h"
#include "editor/imaging/widgets/photoview/CropTool.h"
#include "editor/imaging/widgets/photoview/PhotoView.h"
#include "editor/imaging/widgets/photoview/RedEyeTool.h"

#include <QColor>

class EditorContext;
struct PhotoItem;

class CQemPhotoView : public QemControls::CPhotoView {
    Q_OBJECT
public:
    CQemPhotoView(EditorContext& context, QWidget* parent = nullptr);

    // The caption window's box, lines, colour, size and face into the shown
    // photo's caption (only the prompt state when the window shows its
    // prompt). Nothing when no album photo is shown. The project is marked
    // modified only when the record changes.
    void StoreCaption() override;
    // The shown photo's stored caption (when it has a box) into the caption
    // window, which goes to its editing state at the stored place.
    void ShowCaption() override;
    // The edit pane's link text into the shown photo's caption.
    void SetUrl(const QString& url);
    // The edit pane's font, colour and size for the caption; each stores the caption.
    void SetCaptionFace(const QString& face);
    void SetCaptionColour(QColor colour);
    void SetCaptionSize(int size);

    // The album index of the shown photo, -1 when none.
    int ShownIndex() const;
    const CropTool& Crop() const { return m_crop; }

signals:
    void CropRequested(ImageOps::EdgeRect viewRect);
    void RedEyeRequested(QPoint viewPoint);
    // A stored caption was shown: the edit pane shows its properties.
    void CaptionShown(const QString& face, int size, QColor colour, const QString& url);

protected:
    void OnPhotoChanged() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnCropModeChanged(bool on);
    void UpdateCursor(QPoint at);
    void ForgetRemovedPhoto();

    EditorContext& m_context;
    CropTool m_crop;
    RedEyeTool m_redEye;
    // The shown album photo, kept by its record so that moves in the album do
    // not lose it; null when no album photo is shown.
    const PhotoItem* m_shown = nullptr;
};
