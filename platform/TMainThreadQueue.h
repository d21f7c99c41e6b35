// The main thread's queue of deferred procedures: any thread may queue one;
// each runs later on the main thread, in the order queued, one at a time,
// through the exception guard with no object.
#pragma once

#include <functional>

class TMainThreadQueue
{
public:
    using Procedure = std::function<void()>;

    TMainThreadQueue() = delete;

    // Returns at once. Requires the application object to exist; a procedure
    // queued without one is dropped (there is no main thread to run it).
    static void Queue(Procedure Proc);

    static bool IsMainThread();
};
