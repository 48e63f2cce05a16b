// The workspace under the top band: exactly one of the four step windows,
// and along the bottom a 40-pixel band with Save, Back and Next. It switches
// steps: the window left is told before it hides, the window entered after it
// shows.
#pragma once

#include <QWidget>
#include <array>

class CQemMFCButton;
class EditorContext;
class StepWindow;

class CChildView : public QWidget {
    Q_OBJECT
public:
    explicit CChildView(EditorContext& context, QWidget* parent = nullptr);

    // Makes step `index` (0 to 3) current.
    void SwitchStep(int index);
    int CurrentStep() const { return m_current; }
    StepWindow* Step(int index) const { return m_steps[size_t(index)]; }
    CQemMFCButton* SaveButton() const { return m_save; }
    CQemMFCButton* NextButton() const { return m_next; }
    CQemMFCButton* BackButton() const { return m_back; }

signals:
    // Save was pressed (the main window's Save command).
    void SaveRequested();
    // Next or Back asks for a step: the tab is selected first, then the switch.
    void StepRequested(int index);
    // The storyboard asked to edit the photo at index.
    void EditRequested(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CQemMFCButton* makeButton(int id, const QString& name);
    void layOut();

    EditorContext& m_context;
    std::array<StepWindow*, 4> m_steps{};
    int m_current = 0;
    CQemMFCButton* m_save = nullptr;
    CQemMFCButton* m_next = nullptr;
    CQemMFCButton* m_back = nullptr;
};
