# The scene view: camera maths without a window, and the OpenGL view itself under a display.
orbalin_add_test(view_camera_tests
    SOURCES view/OrbitCameraTest.cpp view/UserViewTest.cpp
    LIBS orbalin_view)

find_package(Qt6 REQUIRED COMPONENTS Test)
orbalin_add_test(view_tests GUI
    SOURCES view/ViewTest.cpp view/FrameTest.cpp view/LifecycleTest.cpp view/OffThreadTest.cpp
        view/UserViewFrameTest.cpp
    LIBS orbalin_view Qt6::Test)

# The same view on a screen scaled by two: its pictures must still fill it.
orbalin_add_test(view_hidpi_tests GUI
    SOURCES view/HighDpiTest.cpp
    LIBS orbalin_view)
