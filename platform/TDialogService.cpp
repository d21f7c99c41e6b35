#include "platform/TDialogService.h"

#include <utility>

namespace {

TDialogService *&CurrentService()
{
    static TDialogService *service = nullptr;
    return service;
}

} // namespace

TDialogService *TDialogService::Current()
{
    return CurrentService();
}

TDialogService::TInstall::TInstall(TDialogService &Service)
    : FPrevious(std::exchange(CurrentService(), &Service))
{
}

TDialogService::TInstall::~TInstall()
{
    CurrentService() = FPrevious;
}
