// What the Options dialog's OK does with the project path, without a window:
// an empty path or an existing folder closes the dialog at once; for any
// other path the user is asked whether to create the folder. Yes creates
// every missing level (a failure, such as a name that is not a valid path, is
// told and the dialog stays open); No closes the dialog; Cancel stays.
#pragma once

#include <QString>
#include <functional>

class OptionsPathRule {
public:
    enum class Answer { Yes, No, Cancel };
    using Ask = std::function<Answer(const QString& question)>;
    using Tell = std::function<void(const QString& message)>;
    using MakePath = std::function<bool(const QString& path)>;

    // `makePath` creates every missing level of a folder path and says
    // whether the folder exists afterwards; by default FileUtils::MakePath,
    // which refuses paths that are not valid.
    OptionsPathRule(Ask ask, Tell tell, MakePath makePath = {});

    // True when the dialog closes with OK for this path.
    bool Accept(const QString& path) const;

private:
    Ask m_ask;
    Tell m_tell;
    MakePath m_makePath;
};
