// Device contexts, bitmaps and regions, shaped like the GDI functions the
// system is written against.
#pragma once

#include <vector>

#include "platform/framework/win_types.h"

HDC CreateCompatibleDC(HDC reference);
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int GetObject(HGDIOBJ object, int size, void* out);

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop);
// Reads one pixel as straight ARGB (0xAARRGGBB); 0 outside the surface.
DWORD GetPixelArgb(HDC hdc, int x, int y);

int SetBkMode(HDC hdc, int mode);
COLORREF SetTextColor(HDC hdc, COLORREF color);
int DrawText(HDC hdc, const char* text, int length, RECT* rect, UINT format);

HRGN ExtCreateRegion(const void* transform, DWORD size, const RGNDATA* data);
HRGN CreateRectRgn(int left, int top, int right, int bottom);
int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode);
BOOL PtInRegion(HRGN region, int x, int y);
// The rectangles of a region, in no particular order.
std::vector<RECT> GetRegionRects(HRGN region);

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
BOOL PtInRect(const RECT* rect, POINT point);
