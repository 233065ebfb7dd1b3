#pragma once

// The frame around the form view: at the view's first update it lays out its bars, fits the
// window to the form template (width x height dialog units), centres it on the screen and shows
// it.
class IViewFrame {
public:
    virtual ~IViewFrame() = default;
    virtual void FitAndCentre(int widthDialogUnits, int heightDialogUnits) = 0;
};
