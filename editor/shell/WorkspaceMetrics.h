// The numbers of the main window's workspace, apart from its widgets: the
// client view with its step window and button band, the step buttons'
// enabled states, the add-photos splitter rows, the edit step's lower area,
// the smallest window, and which dropped path opens a project.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace WorkspaceMetrics {

inline constexpr int kStepCount = 4;
inline constexpr QSize kMinimumWindow{900, 625};
inline constexpr int kButtonBand = 40;
inline constexpr QSize kStepButton{85, 37};

// Step ids of the client view's buttons.
inline constexpr int kSaveButton = 310;
inline constexpr int kNextButton = 311;
inline constexpr int kBackButton = 312;

struct ClientLayout {
    QRect step;  // the current step window
    QRect band;  // the bottom band (a separator line along its top)
    QRect save, next, back;
};
// For the client rectangle (L, T, R, B) as exclusive right and bottom edges.
ClientLayout LayOutClient(const QRect& client);

struct StepButtons {
    bool backEnabled;
    bool nextEnabled;
};
StepButtons ButtonsFor(int step);
// The step Next and Back lead to, or -1 where they do nothing.
int NextStep(int step);
int PreviousStep(int step);

// The add-photos splitter: browsing row and storyboard row for an inside
// height h. Collapsed gives the browsing row nothing. `allowance` is the bar
// and border height taken from the bottom row.
struct SplitterRows {
    int browse;
    int storyboard;
};
SplitterRows RowsFor(int insideHeight, bool collapsed, int allowance);
inline constexpr int kSplitterBar = 20;
inline constexpr QSize kToggleButton{72, 16};
// The toggle button on the bar: centred, 3 pixels below the bar's top.
QRect ToggleRect(const QRect& bar);

// The edit step: the lower area for a main window of outer height H.
int EditLowerArea(int windowHeight);
struct EditLayout {
    QRect pane;       // the current edit pane
    QRect strip;      // the transition strip, 96 high
    QRect effectList; // the effects list below it
};
EditLayout LayOutEdit(const QRect& client, int windowHeight);

// The explorer pane: header, the "Existing Album" button, the folder tree.
struct ExplorerPaneLayout {
    QRect header;
    QRect band; // white band under the header
    QRect button;
    QRect tree;
};
ExplorerPaneLayout LayOutExplorerPane(const QRect& client);
inline constexpr int kMinimumTreeWidth = 200;

// The project folder a drop opens: the folder of the first path when it is
// a file (not a folder) of at least 5 characters ending exactly in ".qem";
// empty otherwise. `isFolder` tells whether a path is a folder.
QString ProjectFolderOfDrop(const QStringList& paths, bool (*isFolder)(const QString&));

} // namespace WorkspaceMetrics
