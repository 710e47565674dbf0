#pragma once

#include "engine/QelParser.h"
#include "platform/RegionalSettings.h"
#include "project/ProjectDocument.h"
#include "project/ProjectFile.h"

// The benchmark project (bench/twenty.qgp: twenty functions at 1920 x 1080), read once.
inline const ProjectDocument& BenchProject() {
  static const ProjectDocument project = [] {
    ProjectDocument p;
    ReadProjectFile(QEL_BENCH_PROJECT, p);
    return p;
  }();
  return project;
}

// An engine set up as the drawing sets up the frame's: "." as the regional separator, both
// separators read, 8 decimals.
inline TQelParser BenchEngine() {
  SetRegionalDecimalSeparator('.');
  TQelParser parser;
  parser.SetConvertAllColonsAndDots(true);
  parser.SetPrecision(8);
  return parser;
}
