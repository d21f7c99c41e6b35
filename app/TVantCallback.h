// The push callback of both channels: every push, whatever it carries, makes
// the window fetch its player's document and redraw, on the main thread.
#pragma once

#include "net/TDBXNamedCallback.h"

class TFormRenderGame;

class TVantCallback : public TDBXNamedCallback
{
public:
    // The window must outlive the callback's channel manager thread: the
    // window unregisters its callbacks before it goes.
    TVantCallback(const QString &AName, TFormRenderGame &AForm);

    // Runs on the channel manager's thread: only queues the update and
    // answers JSON true at once.
    TJSONValue Execute(const TJSONValue &Arg) override;

private:
    TFormRenderGame &FForm;
};
