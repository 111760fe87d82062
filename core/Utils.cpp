#include "core/Utils.h"

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "image/CTexture.h"
#include "image/ImageBuffer.h"
#include "image/ImageUpload.h"
#include "image/bmp.h"
#include "image/dds.h"
#include "image/loadjpeg.h"
#include "image/pcx.h"
#include "image/tgaload.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>
#include <SDL_image.h>

#include <iostream>
#include <vector>

CUtils::CUtils() {}

CUtils::~CUtils() {}

// ---- Texture creation -------------------------------------------------------------

namespace {

bool AnisotropicGenerationOn() {
    return g_Graphics && g_Graphics->isAnisotropicTextureGenerationEnabled();
}

} // namespace

unsigned int CUtils::CreateTexture(char* file) {
    const bool anisotropic = AnisotropicGenerationOn();
    switch (ChooseImageReader(file)) {
    case eImageReader::BMP:
        return anisotropic ? CreateTextureFromBMP(file) : loadBMPTexture(file, false);
    case eImageReader::PCX:
        return loadPCXTexture(file, anisotropic);
    case eImageReader::DDS:
        return loadDDSTexture(file);
    case eImageReader::JPEG:
        return LoadJPEG(file, anisotropic);
    case eImageReader::TGA: {
        const GLuint name = tgaLoadAndBind(file, 0);
        tgaSetTexParams(GL_LINEAR, GL_LINEAR, GL_MODULATE);
        return name;
    }
    case eImageReader::ImageLibrary:
        break;
    }

    SDL_Surface* surface = file ? IMG_Load(file) : nullptr;
    if (!surface) {
        std::cout << "\nFailed to load the image: " << (file ? file : "") << std::endl;
        return 0;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (anisotropic) SetMaxAnisotropy();
    UploadSurfaceMipmaps(surface);
    SDL_FreeSurface(surface);
    return name;
}

SDL_Surface* CUtils::LoadBMP(const char* file) {
    SDL_RWops* rw = file ? SDL_RWFromFile(file, "rb") : nullptr;
    return rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
}

void CUtils::swap(unsigned char& a, unsigned char& b) {
    const unsigned char t = a;
    a = b;
    b = t;
}

unsigned int CUtils::CreateTextureFromBMP(char* file) {
    const char* name = file ? file : "";
    std::cout << "Loading Texture: " << name << std::endl;
    SDL_Surface* surface = LoadBMP(file);
    if (!surface) {
        std::cerr << " Failed loading " << name << " : " << SDL_GetError() << std::endl;
        std::cout << "Failed to load the image: " << name << ", Error: " << SDL_GetError()
                  << std::endl;
        return 0;
    }
    // Rows bottom-up, as GL counts them.
    const std::vector<unsigned char> rgb = PackSurfacePixels(surface, false, true);
    const int w = surface->w, h = surface->h;
    SDL_FreeSurface(surface);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    {
        CScopedUnpackAlignment tightRows;
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (AnisotropicGenerationOn()) SetMaxAnisotropy();
    return texture;
}
