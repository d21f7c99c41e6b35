#include "app/TVantCallback.h"

#include "app/uVantRenderGame.h"

TVantCallback::TVantCallback(const QString &AName, TFormRenderGame &AForm) : TDBXNamedCallback(AName), FForm(AForm)
{
}

TJSONValue TVantCallback::Execute(const TJSONValue &Arg)
{
    FForm.QueueUpdate(Arg);
    return true;
}
