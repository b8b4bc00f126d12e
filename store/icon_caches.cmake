# The icon caches read in place, the large list copied from the small one when their pictures agree.
orvane_windows(file_view_win.cpp icon_cache_reader_win.cpp span_stream_win.cpp)
orvane_windows_test(file_view_win_test.cpp)
