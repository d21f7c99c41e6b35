# Stand-ins for the toolkit's and the runtime's services.
add_library(vant_platform STATIC
  TBatchUpdate.h
  TDialogService.cpp TDialogService.h
  TExceptionGuard.cpp TExceptionGuard.h
  TFloatAnimation.cpp TFloatAnimation.h
  TMainThreadQueue.cpp TMainThreadQueue.h
  TQuickDialogService.cpp TQuickDialogService.h
  TRandom.cpp TRandom.h)
target_include_directories(vant_platform PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vant_platform PUBLIC Qt6::Core PRIVATE vant_log)
