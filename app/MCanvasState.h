#pragma once

#include <QString>

class CComposite;
class CControl;
class MModel;

// The model's side of the canvas: the scale and layout of the document in the
// view, the page and title state the canvas shows, and the set-up menu.
class MCanvasState
{
public:
    explicit MCanvasState(MModel &model);

    bool updateScale();
    void fitToViewWidth();
    void pushPageState();
    void pushHeaderTitle();
    void refreshViewState();
    bool mobileMenuChoice(const QString &text);
    CControl *pasteText(CComposite *composite, const QString &text);
    void restack(CControl *control);

private:
    MModel &m;
};
