#version 120
// Particles: the texture on unit 0 tinted by each vertex's colour.
void main() {
    gl_FrontColor = gl_Color;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
