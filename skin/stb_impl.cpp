// The single translation unit that holds the stb decoders, writers and the
// font rasteriser (header-only libraries from Debian's libstb-dev). Built
// with warnings off: third-party code.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb_image.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
