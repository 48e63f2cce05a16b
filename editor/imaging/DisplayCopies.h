// Provisional until the photo editor view's display copies land: the copy of
// each photo fitted into the 480 x 360 editor canvas, saved once as PNG to a
// temporary file, by photo path. Same interface as the real one.
#pragma once

#include <QString>
#include <map>
#include <mutex>
#include <optional>

struct DisplayRecord {
    float scale = 1;
    QString copyPath;
    int width = 0;
    int height = 0;
};

class DisplayCopies {
public:
    static DisplayCopies& Instance();

    bool MakeDisplayCopy(const QString& path, bool show);
    void ShowPath(const QString& path, bool show, bool makeCurrent);
    void ReloadPath(const QString& path);
    std::optional<DisplayRecord> DisplayRecordOf(const QString& path);
    void ForgetDisplayCopy(const QString& path);
    void ClearView();

private:
    std::mutex m_mutex;
    std::map<QString, DisplayRecord> m_records;
};
