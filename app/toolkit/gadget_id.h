#pragma once

// The controls of the main window. The numbers are fixed: the drive model
// writes the report through ReportEditor and the export sets the cursor of
// Canvas, so every part of the program names a control the same way.
enum GadgetId : int {
    ScrollPanel = 0,
    OpenButton = 1,
    SaveButton = 2,
    SaveAsButton = 3,
    HelpMenuButton = 4,
    Bore1Field = 5,
    Bore2Field = 6,
    IdlerBoreField = 7,
    ExportPitchCirclesCheck = 8,
    Dxf2DButton = 9,
    Step2DButton = 10,
    ExportScopeCombo = 11,
    Dxf3DButton = 12,
    Step3DButton = 13,
    StlButton = 14,
    ChordToleranceField = 15,
    ChainSizeCombo = 16,
    Z1Field = 17,
    Z2Field = 18,
    CentreDistanceField = 19,
    LinksField = 20,
    IdlerTeethField = 21,
    IdlerPositionSlider = 22,
    IdlerPercentLabel = 23,
    IdlerSideCombo = 24,
    RotateCheck = 25,
    SpeedSlider = 26,
    ShowPitchCirclesCheck = 27,
    ReportEditor = 28,
    Canvas = 29,
};

constexpr int gadget_count = 30;

// The pop-up menu's items and the window's keyboard shortcuts.
enum MenuId : int {
    UserGuide = 100,  // menu item and F1
    About = 101,      // menu item
    Open = 102,       // Ctrl+O
    Save = 103,       // Ctrl+S
};
