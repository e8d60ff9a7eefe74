# One line a fuzz target: which libraries it links.
# if(TARGET fuzz_csf_parse) target_link_libraries(fuzz_csf_parse PRIVATE dw_csf) endif()
