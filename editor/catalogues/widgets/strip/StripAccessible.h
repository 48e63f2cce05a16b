// The transition strip for screen readers: a list whose children are the
// cells, two per album photo in strip order: the photo cell, named by the
// photo's file name, then its transition cell, named by the effect's name.
// A cell's "press" action makes it current, as a click does. After the cells
// come the two arrow zones, buttons named "Scroll Left" and "Scroll Right"
// whose press scrolls one slot.
#pragma once

// Installs the factory that gives every QemControls::CLREffectWnd the
// interface above (further calls do nothing).
void InstallStripAccessibility();
