# One line a benchmark program: which libraries it links.
# if(TARGET bench_csf) target_link_libraries(bench_csf PRIVATE dw_csf) endif()
if(TARGET bench_csf)
  target_link_libraries(bench_csf PRIVATE dw_csf)
endif()
