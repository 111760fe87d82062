#version 120
varying vec3 normal;
varying vec3 eyePos;

void main() {
    // w = 0 makes the light directional, w = 1 positional.
    vec4 lightPos = gl_LightSource[0].position;
    vec3 toLight = normalize(lightPos.xyz - eyePos * lightPos.w);
    float intensity = dot(normalize(normal), toLight);
    float band = intensity > 0.95 ? 1.0 : intensity > 0.5 ? 0.7 : intensity > 0.25 ? 0.45 : 0.2;
    gl_FragColor = vec4(gl_FrontLightProduct[0].diffuse.rgb * band, gl_FrontMaterial.diffuse.a);
}
