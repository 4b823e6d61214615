#include "cancel_poll.h"

namespace {
thread_local CommentaryCancel tTest = nullptr;
thread_local void* tContext = nullptr;
}  // namespace

CancelPollScope::CancelPollScope(CommentaryCancel test, void* context)
    : previousTest_(tTest), previousContext_(tContext) {
  tTest = test;
  tContext = context;
}

CancelPollScope::~CancelPollScope() {
  tTest = previousTest_;
  tContext = previousContext_;
}

int PollCommentaryCancel() { return tTest ? tTest(tContext) : 0; }
