// Lets cppcheck parse the test programs without reading GoogleTest itself:
// each test case becomes the plain function it is.
#define TEST(suite, name) void suite##_##name()
#define TEST_F(suite, name) void suite##_##name()
#define TEST_P(suite, name) void suite##_##name()
#define INSTANTIATE_TEST_SUITE_P(prefix, suite, ...) static int prefix##_##suite
