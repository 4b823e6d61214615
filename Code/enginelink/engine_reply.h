// What an engine said, copied on the reader thread for the user-interface
// thread, and the room's reply queue that carries it.
//
// Interface: EngineReplyBlock, AllocEngineReply, FreeEngineReply,
// RoomReplyQueue, LockedRoomReplyQueue, SetRoomReplyQueue, PostRoomEvent.
//
// The queue belongs to the shell's room window, which drains it on its timer;
// the engine link only posts. A block belongs to the queue until the handler
// (DispatchEngineOutput) frees it.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>

#include "engine_protocol.h"
#include "moverecord.h"
#include "utils.h"

enum EngineReplyKind { REPLY_MOVE = 1, REPLY_THINKING, REPLY_STATUS, REPLY_TEXT, REPLY_ENDED };

struct EngineReplyBlock {
  int32_t kind;
  Guid game;     // a copy: the session may be gone when the block is handled
  int32_t side;  // the session's side (EngineSide)
  union {
    MoveRecord move;  // texts empty
    ThinkingLine thinking;
    EngineStatus status;
    char text[kEngineTextSize];
  };
};

// From the memory manager (tag 66); null when memory is short.
EngineReplyBlock* AllocEngineReply(int kind, const Guid* game, int side);
void FreeEngineReply(EngineReplyBlock* block);

class RoomReplyQueue {
 public:
  virtual ~RoomReplyQueue() = default;
  // Takes the block; called on reader threads.
  virtual void PostRoomEvent(EngineReplyBlock* block) = 0;
  // Drops the queued blocks of one game (it stopped or is destroyed); with
  // no game, every queued block.
  virtual void DiscardGame(const Guid* /*game*/) {}
};

// A queue guarded by its own lock, drained by its owner's thread in the order
// the blocks were posted.
class LockedRoomReplyQueue : public RoomReplyQueue {
 public:
  ~LockedRoomReplyQueue() override;
  void PostRoomEvent(EngineReplyBlock* block) override;
  // Null when empty; the caller owns the block.
  EngineReplyBlock* Take();
  void DiscardGame(const Guid* game) override;
  // Hands every queued block to DispatchEngineOutput; returns how many.
  int Drain();
  size_t Size();

 private:
  std::mutex lock_;
  std::deque<EngineReplyBlock*> blocks_;
};

// The queue engine players post to; without one, replies are dropped.
void SetRoomReplyQueue(RoomReplyQueue* queue);
void PostRoomEvent(EngineReplyBlock* block);
void DiscardRoomEvents(const Guid* game);
