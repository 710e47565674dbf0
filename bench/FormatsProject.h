#pragma once

#include <string>

#include "project/ProjectDocument.h"

// Twenty everyday functions, line-wise at step 0.001 over x and y from -10 to 10: the graph whose
// saved pictures are measured in every format.
inline ProjectDocument TwentyFunctionsProject(const std::string& width = "1920",
                                              const std::string& height = "1080") {
  const char* const expressions[] = {"x",
                                     "sin(x)*2^x",
                                     "x^3-2*x^2+x-1",
                                     "abs(sin(x))/(1+x^2)",
                                     "ln(abs(x)+1)*cos(3*x)",
                                     "tan(x) mod 2",
                                     "cos(x)*3",
                                     "5-x^2/10",
                                     "e^(x/5)-3",
                                     "sin(pi*x/4)*3",
                                     "lg(abs(x)+1)*4",
                                     "-abs(x)+5",
                                     "x/(1+abs(x))*6",
                                     "sin(x)+sin(2*x)/2+sin(3*x)/3",
                                     "cos(x)^2*4-2",
                                     "1/(x-0.5)",
                                     "(x mod 3)-1",
                                     "tan(x/2)",
                                     "ln(x^2+0.01)",
                                     "8*e^(-(x^2)/4)-4"};
  ProjectDocument project;
  project.Settings.Pointwise = false;
  project.Settings.OutputWidth = width;
  project.Settings.OutputHeight = height;
  int number = 1;
  for (const char* expression : expressions) {
    // Colours spread over the hues, distinct from the white background and the grey grid.
    const int hue = number * 47;
    const int color = (hue * 7 % 200) | (hue * 13 % 200) << 8 | (hue * 29 % 200) << 16;
    project.Functions.push_back(
        {std::to_string(number++), expression, "0.001", std::to_string(color)});
  }
  return project;
}
