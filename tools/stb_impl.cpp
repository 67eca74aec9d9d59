// The one translation unit that compiles the single-header stb libraries.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_image_write.h>
#include <stb_truetype.h>
