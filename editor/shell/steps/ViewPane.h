// The explorer pane of the add-photos step: the "Explorer" header, the
// "Existing Album" button on a white band, and the folder tree below. It
// observes the hub: "PrjState" shows or hides the tree, "ButtonState" presses
// or releases the button.
#pragma once

#include "editor/core/SubjectManager.h"

#include <QWidget>
#include <memory>

class CQemMFCButton;
class CQemShellTreeCtrl;
class EditorContext;

class CViewPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int kExistingAlbumCommand = 319;
    static constexpr int kTreeControlId = 317;

    explicit CViewPane(EditorContext& context, QWidget* parent = nullptr);
    ~CViewPane() override;

    CQemMFCButton* ExistingAlbumButton() const { return m_button; }
    CQemShellTreeCtrl* Tree() const { return m_tree; }

    class CObserverPrjState : public CSubjectObserver {
    public:
        explicit CObserverPrjState(CViewPane& pane) : CSubjectObserver(kSubjectPrjState), m_pane(pane) {}
        void Update(int value) override;

    private:
        CViewPane& m_pane;
    };
    class CObserverButtonState : public CSubjectObserver {
    public:
        explicit CObserverButtonState(CViewPane& pane) : CSubjectObserver(kSubjectButtonState), m_pane(pane) {}
        void Update(int value) override;

    private:
        CViewPane& m_pane;
    };

signals:
    // The "Existing Album" button was pressed: the explore area shows the library.
    void ExistingAlbumRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CQemMFCButton* m_button;
    CQemShellTreeCtrl* m_tree;
    bool m_libraryShown = false;
    std::unique_ptr<CObserverPrjState> m_prjState;
    std::unique_ptr<CObserverButtonState> m_buttonState;
};
