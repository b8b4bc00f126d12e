# Sort keys and search texts kept beside the list's rows, and the idle steps that make them.
orvane_portable(row_keys.cpp)
orvane_portable_test(row_keys_test.cpp)
orvane_windows(idle_steps_win.cpp list_keys_win.cpp)
orvane_windows_test(list_keys_win_test.cpp)
