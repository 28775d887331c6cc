#pragma once

// The application title: the window caption, the error box caption and the
// name of the program's entry in the task bar. UTF-8, the code page of texts.
inline constexpr char kApplicationTitle[] = "Tarnwick域名系统";
