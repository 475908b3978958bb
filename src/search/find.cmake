# Find across pages: the search over the pages' texts, the history and the find dialog.
add_library(quillbox_find STATIC
    asciicaselessmatcher.cpp asciicaselessmatcher.h
    findhistory.cpp findhistory.h
    pagesearch.cpp pagesearch.h
    textsearchdialog.cpp textsearchdialog.h
)
target_include_directories(quillbox_find PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(quillbox_find PUBLIC quillbox_components Qt6::Widgets)
quillbox_warnings(quillbox_find)
