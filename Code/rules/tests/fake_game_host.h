// A game host for tests: records what games ask of the program around them
// and answers from fields the test sets.
#pragma once

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "game_host.h"
#include "game_record.h"
#include "time_source.h"

// What the fake hands out as a personality: the words a game reads.
struct PersonalityRecord {
  int32_t words[32];
};
struct EngineSession {
  int id;
};

class FakeGameHost : public GameHost {
 public:
  FakeGameHost() { SetGameHost(this); }
  ~FakeGameHost() override {
    SetGameHost(nullptr);
    for (PersonalityRecord* p : personalities_) delete p;
    for (EngineSession* s : sessions_) delete s;
  }

  std::vector<int> events;
  std::vector<std::string> status, messages, modeless, questions, commands;
  std::vector<int> resetCounts;  // moves handed to ResetEngineGame
  int quits = 0, freed = 0, goCalls = 0;
  int booked = 0, advanced = 0, drillEnds = 0, onlineEnd = -1, pauses = 0;
  std::vector<int> idleLevels;
  std::string bookMoveCoords;
  MoveRecord bookMove{};
  std::string commentary;
  int answer = kAnswerNo;
  RoomBoardOptions room;
  int32_t personalityWords[32] = {};

  void BroadcastGameEvent(int code, GameRecord*) override { events.push_back(code); }
  void SendGameEventToWindow(int window, int code, GameRecord*) override {
    events.push_back(1000 * window + code);
  }
  RoomBoardOptions GetRoomBoardOptions() override { return room; }
  void SetStatusText(const char* text) override { status.push_back(text); }
  void ClearStatusText() override { status.push_back(""); }
  int AskYesNo(const char* question) override {
    questions.push_back(question);
    return answer;
  }
  void ShowMessage(const char* text) override { messages.push_back(text); }
  void ShowModelessMessage(const char* text, int) override { modeless.push_back(text); }
  PersonalityRecord* ReadPersonality(PlayerRecord*, PersonalityRecord*) override {
    auto* p = new PersonalityRecord{};
    std::copy(std::begin(personalityWords), std::end(personalityWords), p->words);
    personalities_.push_back(p);
    return p;
  }
  void FreePersonality(PersonalityRecord*) override { ++freed; }
  int32_t PersonalityWord(const PersonalityRecord* p, int index) override { return p->words[index]; }
  EngineSession* StartEnginePlayer(GameRecord*, PlayerRecord*) override {
    sessions_.push_back(new EngineSession{static_cast<int>(sessions_.size())});
    return sessions_.back();
  }
  void ResetEngineGame(GameRecord*, PlayerRecord*, const MoveRecord*, int count) override {
    resetCounts.push_back(count);
  }
  void StartEngineIfToMove(GameRecord*) override { ++goCalls; }
  void RecordFinishedGame(GameRecord*) override { ++booked; }
  void AdvanceTournamentScript(GameRecord*) override { ++advanced; }
  void SendDrillEndCommand() override { ++drillEnds; }
  void EndOnlineGame(int result) override { onlineEnd = result; }
  void SetIdleLevel(int level) override { idleLevels.push_back(level); }
  void HideBoardForPause() override { ++pauses; }
  bool PickBookMove(int, const MoveRecord*, int, MoveRecord* out) override {
    *out = bookMove;
    return bookMove.from != bookMove.to;
  }
  void HandleEngineBookMove(GameRecord*, int, const char* coords) override { bookMoveCoords = coords; }
  bool GetPositionCommentary(const Board*, int, char* buffer, int size) override {
    std::snprintf(buffer, static_cast<size_t>(size), "%s", commentary.c_str());
    return !commentary.empty();
  }
  void SendEngineQuit(EngineSession*) override { ++quits; }
  void SendEnginePlayerMove(GameRecord*, PlayerRecord* p, const MoveRecord* move, bool withClocks, int32_t,
                            int32_t) override {
    char text[3] = {static_cast<char>('a' + (move->from & 7)), static_cast<char>('8' - (move->from >> 4)), 0};
    commands.push_back(Tag(p) + (withClocks ? "time+move " : "move ") + text);
  }
  void SendEngineCommand(PlayerRecord* p, const char* command) override {
    commands.push_back(Tag(p) + command);
  }
  static std::string Tag(const PlayerRecord* p) {
    return p->slot == SLOT_WHITE ? "W:" : p->slot == SLOT_BLACK ? "B:" : "T:";
  }

 private:
  std::vector<PersonalityRecord*> personalities_;
  std::vector<EngineSession*> sessions_;
};

// A tick count the test moves by hand.
struct FakeTicks {
  inline static uint32_t now = 0;
  static uint32_t Read() { return now; }
  FakeTicks(uint32_t start) {
    now = start;
    SetTickSource(Read);
  }
  ~FakeTicks() { SetTickSource(nullptr); }
};
