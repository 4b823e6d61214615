// Cancelling long commentary work: the composer's cancel test, asked after
// every move and by the sentence writers. It belongs to the calling thread,
// so an annotation on one worker never stops another.
//
// Interface: CancelPollScope, PollCommentaryCancel.
#pragma once

using CommentaryCancel = int (*)(void* context);

class CancelPollScope {
 public:
  CancelPollScope(CommentaryCancel test, void* context);
  ~CancelPollScope();
  CancelPollScope(const CancelPollScope&) = delete;
  CancelPollScope& operator=(const CancelPollScope&) = delete;

 private:
  CommentaryCancel previousTest_;
  void* previousContext_;
};

// Non-zero when the calling thread's cancel test asks to stop.
int PollCommentaryCancel();
