// The libraries of the editor form layers (docs/ARCHITECTURE.md): each may
// include the headers of the layers below it, never one above, and the model
// layers include no widget header. These tests read the source tree.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

struct Layer {
    const char* prefix; // a folder ending in "/", or one file
    int rank;           // a layer may include ranks up to its own
    bool model;         // no widget headers
};

// Lowest first; the longest matching prefix names a file's layer.
const Layer kLayers[] = {
    {"common/", 0, true},
    {"common/movieplayer/", 1, false},
    {"editor/imaging/", 2, true},
    {"editor/catalogues/", 2, true},
    {"editor/core/", 3, true},
    {"editor/generation/", 4, true},
    {"editor/shell/controls/", 5, false},
    {"editor/imaging/widgets/", 6, false},
    {"editor/catalogues/widgets/", 7, false},
    {"editor/generation/widgets/", 8, false},
    {"editor/shell/", 9, false},
    {"editor/app/", 10, false},
    {"editor/main.cpp", 10, false},
};

// Folders of the tree that are not libraries of the editor: a layer never
// includes them.
const char* const kOutsideFolders[] = {"player/", "screensaver/", "tests/", "bench/", "movies/", "tools/"};

const Layer* layerOf(const QString& path)
{
    const Layer* found = nullptr;
    for (const Layer& layer : kLayers) {
        const QLatin1String prefix(layer.prefix);
        if (path.startsWith(prefix) && (!found || size_t(prefix.size()) > qstrlen(found->prefix)))
            found = &layer;
    }
    return found;
}

bool isProjectPath(const QString& include)
{
    if (layerOf(include))
        return true;
    for (const char* folder : kOutsideFolders)
        if (include.startsWith(QLatin1String(folder)))
            return true;
    return false;
}

// The widget headers: every class header of Qt Widgets and Qt WebEngine
// Widgets, the module headers themselves, and the user-interface classes that
// Qt 6 moved into Qt Gui (actions and shortcuts belong to windows).
QSet<QString> widgetHeaders()
{
    QSet<QString> headers = {QStringLiteral("QtWidgets"), QStringLiteral("QtWebEngineWidgets"),
                             QStringLiteral("QAction"), QStringLiteral("QActionGroup"), QStringLiteral("QShortcut")};
    for (const QString& dir : QStringLiteral(KELVANA_WIDGET_INCLUDE_DIRS).split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString module = QDir(dir).dirName();
        for (const QString& name : QDir(dir).entryList(QDir::Files)) {
            if (!name.contains(QLatin1Char('.'))) {
                headers.insert(name);
                headers.insert(module + QLatin1Char('/') + name);
            }
        }
    }
    return headers;
}

struct Include {
    QString name;
    bool quoted;
};

QList<Include> includesOf(const QString& text)
{
    static const QRegularExpression line(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"),
                                         QRegularExpression::MultilineOption);
    QList<Include> includes;
    for (auto it = line.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        includes.append({match.captured(2).trimmed(), match.captured(1) == QLatin1String("\"")});
    }
    return includes;
}

// What is wrong with one file (its path from the source root) including the
// given headers: one line per fault, empty when it keeps to its layer.
QStringList faultsOf(const QString& file, const QList<Include>& includes, const QSet<QString>& widgets)
{
    QStringList faults;
    const Layer* own = layerOf(file);
    if (!own)
        return faults;
    for (const Include& include : includes) {
        if (!include.quoted) {
            if (own->model && widgets.contains(include.name))
                faults << QStringLiteral("%1 is a model file but includes the widget header <%2>").arg(file, include.name);
            continue;
        }
        if (!isProjectPath(include.name))
            continue; // a file beside it, or generated
        const Layer* target = layerOf(include.name);
        if (!target)
            faults << QStringLiteral("%1 includes %2, which is no library of the editor").arg(file, include.name);
        else if (target->rank > own->rank)
            faults << QStringLiteral("%1 (layer %2) includes %3 of the higher layer %4")
                          .arg(file, QLatin1String(own->prefix), include.name, QLatin1String(target->prefix));
    }
    return faults;
}

QStringList faultsOfTree()
{
    const QDir root(QStringLiteral(KELVANA_SOURCE_DIR));
    const QSet<QString> widgets = widgetHeaders();
    QStringList faults;
    for (const char* folder : {"common", "editor"}) {
        QDirIterator it(root.filePath(QLatin1String(folder)), {QStringLiteral("*.h"), QStringLiteral("*.cpp")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly)) {
                faults << QStringLiteral("cannot read %1").arg(file.fileName());
                continue;
            }
            faults << faultsOf(root.relativeFilePath(file.fileName()), includesOf(QString::fromUtf8(file.readAll())),
                               widgets);
        }
    }
    return faults;
}

} // namespace

TEST(Layering, WidgetHeadersAreKnown)
{
    const QSet<QString> widgets = widgetHeaders();
    for (const char* name : {"QWidget", "QDialog", "QMessageBox", "QMainWindow", "QAction", "QMenu", "QApplication",
                             "QtWidgets/QLabel", "QWebEngineView"})
        EXPECT_TRUE(widgets.contains(QLatin1String(name))) << name;
    for (const char* name : {"QString", "QImage", "QGuiApplication", "QPainter"})
        EXPECT_FALSE(widgets.contains(QLatin1String(name))) << name;
}

struct RuleCase {
    const char* file;
    const char* include; // "<X>" or "\"X\""
    bool fault;
};

class LayeringRule : public testing::TestWithParam<RuleCase> {};

TEST_P(LayeringRule, JudgesOneInclude)
{
    const RuleCase& c = GetParam();
    const QString text = QStringLiteral("#include %1\n").arg(QLatin1String(c.include));
    const QStringList faults = faultsOf(QLatin1String(c.file), includesOf(text), widgetHeaders());
    EXPECT_EQ(!faults.isEmpty(), c.fault) << c.file << " " << c.include << ": " << faults.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, LayeringRule, testing::Values(
    RuleCase{"common/XmlDocument.cpp", "<QMessageBox>", true},
    RuleCase{"common/XmlDocument.cpp", "<QtWidgets/QWidget>", true},
    RuleCase{"common/XmlDocument.cpp", "<QImage>", false},
    RuleCase{"common/XmlDocument.cpp", "\"editor/core/AlbumModel.h\"", true},
    RuleCase{"common/XmlDocument.cpp", "\"common/movieplayer/MoviePlayer.h\"", true},
    RuleCase{"common/XmlDocument.cpp", "\"player/MovieFit.h\"", true},
    RuleCase{"common/movieplayer/MoviePlayer.cpp", "<QWebEngineView>", false},
    RuleCase{"common/movieplayer/MoviePlayer.cpp", "\"common/XmlDocument.h\"", false},
    RuleCase{"editor/imaging/ImageOps.cpp", "\"editor/generation/Generator.h\"", true},
    RuleCase{"editor/imaging/ImageOps.cpp", "\"editor/imaging/widgets/PhotoView.h\"", true},
    RuleCase{"editor/imaging/widgets/PhotoView.cpp", "<QWidget>", false},
    RuleCase{"editor/imaging/widgets/PhotoView.cpp", "\"editor/shell/MainFrame.h\"", true},
    RuleCase{"editor/catalogues/Catalogues.cpp", "\"editor/imaging/ImageOps.h\"", false},
    RuleCase{"editor/core/AlbumModel.cpp", "<QDialog>", true},
    RuleCase{"editor/core/AlbumModel.cpp", "\"editor/app/QemApp.h\"", true},
    RuleCase{"editor/generation/Generator.cpp", "\"editor/core/AlbumModel.h\"", false},
    RuleCase{"editor/generation/Generator.cpp", "<QAction>", true},
    RuleCase{"editor/shell/controls/PhotoListCtrl.cpp", "\"editor/shell/MainFrame.h\"", true},
    RuleCase{"editor/shell/MainFrame.cpp", "\"editor/generation/widgets/GeneratePane.h\"", false},
    RuleCase{"editor/main.cpp", "\"editor/app/QemApp.h\"", false}));

TEST(Layering, SourceTreeKeepsItsLayers)
{
    const QStringList faults = faultsOfTree();
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}
