// The step tab strip for screen readers: a page-tab list whose children are
// the visible tabs, named by their captions without trailing blanks, with the
// selected state; a tab's "press" action switches to its step.
#pragma once

// Installs the factory that gives CQemTabCtrl its accessible interface.
void InstallTabStripAccessibility();
