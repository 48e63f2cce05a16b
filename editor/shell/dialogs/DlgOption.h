// The Options dialog: the project path in an edit, a Browse button that picks
// a folder and OK. OK follows OptionsPathRule (asking whether to create a
// missing folder); Escape closes the dialog as Cancel. The caller takes
// Path() only after OK, and only when that folder exists.
#pragma once

#include "editor/shell/dialogs/OptionsPathRule.h"

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

class CDlgOption : public QDialog {
    Q_OBJECT
public:
    // Picks a folder, starting at the given path; empty when cancelled.
    using FolderPicker = std::function<QString(QWidget* owner, const QString& start)>;

    explicit CDlgOption(const QString& path, QWidget* parent = nullptr);

    QString Path() const { return m_path; }

    // The question and the message of OK go to message boxes unless replaced
    // (tests answer them); the folder picker is QFileDialog unless replaced.
    void SetPrompts(OptionsPathRule::Ask ask, OptionsPathRule::Tell tell);
    void SetFolderPicker(FolderPicker picker) { m_picker = std::move(picker); }

    QLineEdit* PathEdit() const { return m_edit; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* BrowseButton() const { return m_browse; }

public slots:
    void accept() override;

private:
    void Browse();

    QString m_path;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_ok = nullptr;
    OptionsPathRule::Ask m_ask;
    OptionsPathRule::Tell m_tell;
    FolderPicker m_picker;
};
