#include "editor/generation/AlbumOutput.h"

#include "common/FileUtils.h"

bool AlbumOutput::MakeFolders(const QString& root)
{
    const QString base = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    const std::array<QString, 4> paths{base, base + QStringLiteral("thumbs/"), base + QStringLiteral("res/"),
                                       base + QStringLiteral("photo/")};
    for (size_t i = 0; i < paths.size(); ++i) {
        if (!FileUtils::MakePath(paths[i]))
            return false;
        folders[i] = paths[i];
    }
    return true;
}

AlbumOutput& AlbumOutput::Final()
{
    static AlbumOutput output;
    return output;
}
