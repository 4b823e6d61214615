// The current user's record as the application globals hold it; its file
// and its lists are read and written by the user and game-room modules.
//
// Interface: RatingBlock, UserProfile, kUserNameSize.
#pragma once

#include <cstdint>

constexpr int kUserNameSize = 32;

struct RatingBlock {
  int32_t rating;
  int32_t second;
  char date[92];
};

struct UserProfile {
  char name[kUserNameSize];  // empty: nobody is logged in
  char description[512];
  int32_t baseRating;
  int32_t table[600];
  int32_t pairs[100][2];
  uint8_t reserved[16];
  int32_t word1;
  RatingBlock ratings[3];
  int32_t gameCount;
  void* games;  // gameCount entries of 44 bytes
  int32_t word2;
  RatingBlock ratings2[3];
  int32_t gameCount2;
  void* games2;
  char path[260];  // the user file, set when the user is made current
};
