// The media tests' clip encoder, built into this program as well.
#include "../Platform/Media/TestVideo.cpp"
