# Find across pages.
quillbox_add_test(NAME tst_pagesearch SOURCES tst_pagesearch.cpp LIBS quillbox_find)
quillbox_add_test(NAME tst_textsearchdialog SOURCES tst_textsearchdialog.cpp LIBS quillbox_find)
