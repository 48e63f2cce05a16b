// The whole update check as start-up runs it: the checker runs without
// blocking and, when a newer build exists, the prompt opens (window-modal to
// `parent`, never through a nested event loop). The checker deletes itself
// when it has finished; connect to its Finished signal to learn the outcome.
#pragma once

class CUpdateChecker;
class QWidget;

CUpdateChecker* RunUpdateCheck(QWidget* parent);
