#pragma once

#include <QByteArray>
#include <initializer_list>

/// Demos written byte by byte: a header, then `tics` tics of `ticSize` bytes (a player standing
/// still), then the end marker.
inline QByteArray demo(std::initializer_list<int> header, int tics = 35, int ticSize = 4) {
  QByteArray bytes;
  for (int byte : header) bytes += char(byte);
  return bytes + QByteArray(tics * ticSize, '\0') + char(0x80);
}

/// A header of V1.4 on: version, skill, episode, map, four flags, console player, four players; then
/// a second of tics, each holding every player's `ticSize` bytes.
inline QByteArray newDemo(int version, int skill, int episode, int map, int players = 1, int ticSize = 4) {
  return demo({version, skill, episode, map, 0, 0, 0, 0, 0, players > 0, players > 1, players > 2, players > 3}, 35 * players, ticSize);
}
