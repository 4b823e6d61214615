// The window classes Facet registers at load, as dialog templates name them
// (kept apart from the library's own list so that the tests check it).
#pragma once

constexpr const char* kFacetControlClasses[] = {
    "CGUIBMPButton", "CGUIHotButton", "AnimButton",      "CGUIStatic",   "CGUIScrollBar", "CGUISpinEdit",
    "CGUIComboBox",  "CGUIEdit",      "CC20SpinList",    "CGUITrackbar", "CGUIListWnd",   "CGUITreeViewWnd",
    "CGUIColorText", "CGUITabWnd",    "CGUIListViewWnd", "CGUISplitter",
};
