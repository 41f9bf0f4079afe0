// The two constants every build carries. The platform width is chosen by the build
// (CMake preset), never by editing code: 32 for the shipped edition, 64 for the other.
#pragma once

#ifndef PLATFORM_BITS
#define PLATFORM_BITS 32
#endif

// Product version as a decimal yyyymmdd number (shown as V2026.01.01).
constexpr int buildVersion = 20260101;
// Width of the AutoCAD platform this edition serves.
constexpr int platformBits = PLATFORM_BITS;
static_assert(platformBits == 32 || platformBits == 64, "PLATFORM_BITS must be 32 or 64");
