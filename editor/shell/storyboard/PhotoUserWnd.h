// The storyboard row of the add-photos step: a strip with the Delete button
// over the storyboard list. The button is enabled while the album holds a
// photo and removes the selected photos.
#pragma once

#include <QWidget>

class CPhotoUserList;
class CQemMFCButton;
class EditorContext;

class CPhotoUserWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDeleteCommand = 315;
    static constexpr int kButtonWidth = 160;
    static constexpr int kButtonHeight = 22;
    static constexpr int kSeparatorY = 23;
    static constexpr int kListTop = 24;

    CPhotoUserWnd(EditorContext& context, QWidget* parent = nullptr);
    ~CPhotoUserWnd() override;

    CPhotoUserList* List() const { return m_list; }
    CQemMFCButton* DeleteButton() const { return m_delete; }

    // The empty album's hint is shown while the photo explorer is visible.
    void SetExplorerVisible(bool visible);

signals:
    // Edit was asked for the album photo at index.
    void EditRequested(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateDeleteButton();

    CQemMFCButton* m_delete;
    CPhotoUserList* m_list;
};
