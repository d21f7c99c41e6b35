// A batch update of a control: BeginUpdate now, EndUpdate on every way out
// of the scope, exceptions included.
#pragma once

template <class TTarget>
class TBatchUpdate
{
public:
    explicit TBatchUpdate(TTarget &Target) : FTarget(Target) { FTarget.BeginUpdate(); }
    ~TBatchUpdate() { FTarget.EndUpdate(); }
    TBatchUpdate(const TBatchUpdate &) = delete;
    TBatchUpdate &operator=(const TBatchUpdate &) = delete;

private:
    TTarget &FTarget;
};
