// What the exports read from the board: its size, its two pages, which one
// is current, and its background mode.
#pragma once

class CQarelPage;

struct BoardPicture {
  int width = 0;
  int height = 0;
  CQarelPage* pages = nullptr;  // the board's two pages
  int currentPage = 0;
  int backMode = 0;
};
