orvane_portable(theme.cpp)
orvane_portable_test(theme_test.cpp)
orvane_windows(theme_win.cpp)
orvane_windows_test(theme_win_test.cpp)
