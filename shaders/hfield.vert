#version 120
// Terrain: ground textures A, B and C repeat once per cell (units 0, 1, 3), the
// texture map that picks between them spans the field (unit 2), as does the light
// map (unit 4).
void main() {
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_TexCoord[1] = gl_MultiTexCoord1;
    gl_TexCoord[2] = gl_MultiTexCoord2;
    gl_TexCoord[3] = gl_MultiTexCoord3;
    gl_TexCoord[4] = gl_MultiTexCoord4;
    gl_Position = ftransform();
}
